// qelrendericon DRAWING.svg SIZE OUT.png
// Renders an icon drawing to a square PNG of SIZE pixels for the icon theme.
// Used by the build only; never installed.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = arguments.size() == 4 ? arguments.at(2).toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1 || size > 1024) {
        fprintf(stderr, "usage: qelrendericon DRAWING.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer drawing(arguments.at(1));
    if (!drawing.isValid()) {
        fprintf(stderr, "qelrendericon: cannot read the drawing %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.render(&painter);
    }
    if (!image.save(arguments.at(3), "PNG")) {
        fprintf(stderr, "qelrendericon: cannot write %s\n", qPrintable(arguments.at(3)));
        return 1;
    }
    return 0;
}
