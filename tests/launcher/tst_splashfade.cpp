// The splash frames of qelApps: count, order, opacity over white, and the
// picture left on the splash screen.
#include "splashfade.h"

#include <QPainter>
#include <QSplashScreen>
#include <QtTest>

namespace {

// 4x1 picture: opaque red, opaque black, half-transparent blue, transparent.
QPixmap testPicture()
{
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, QColor(255, 0, 0));
    image.setPixelColor(1, 0, QColor(0, 0, 0));
    image.setPixelColor(2, 0, QColor(0, 0, 255, 128));
    image.setPixelColor(3, 0, QColor(0, 0, 0, 0));
    return QPixmap::fromImage(image);
}

// The painter works with 8-bit opacity: allow about one per cent.
bool near(int actual, double expected)
{
    return qAbs(actual - expected) <= 3.0;
}

} // namespace

class TestSplashFade : public QObject
{
    Q_OBJECT
private slots:
    void frame_data();
    void frame();
    void nullPicture();
    void run();
};

void TestSplashFade::frame_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("opacity");
    QTest::newRow("first frame") << 0 << 1.00;
    QTest::newRow("second frame") << 1 << 0.99;
    QTest::newRow("middle frame") << 40 << 0.60;
    QTest::newRow("last frame") << 79 << 0.21;
}

void TestSplashFade::frame()
{
    QFETCH(int, index);
    QFETCH(double, opacity);
    QVERIFY(qAbs(SplashFade::opacity(index) - opacity) < 1e-9);

    const QImage image = SplashFade::frame(testPicture(), index);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(image.size(), QSize(4, 1));
    const double white = 255.0 * (1.0 - opacity);

    const QColor red = image.pixelColor(0, 0);
    QCOMPARE(red.red(), 255);
    QVERIFY2(
        near(red.green(), white) && near(red.blue(), white), qPrintable(red.name(QColor::HexArgb)));
    QCOMPARE(red.alpha(), 255);

    const QColor black = image.pixelColor(1, 0);
    QVERIFY2(near(black.red(), white) && near(black.green(), white) && near(black.blue(), white),
        qPrintable(black.name(QColor::HexArgb)));

    // Half-transparent blue: its own alpha and the frame's opacity multiply.
    const double blueAlpha = opacity * 128.0 / 255.0;
    const QColor blue = image.pixelColor(2, 0);
    QVERIFY2(near(blue.red(), 255.0 * (1.0 - blueAlpha)), qPrintable(blue.name()));
    QCOMPARE(blue.blue(), 255);

    QCOMPARE(image.pixelColor(3, 0), QColor(Qt::white));
}

void TestSplashFade::nullPicture()
{
    const QImage image = SplashFade::frame(QPixmap(), 0);
    QVERIFY(image.isNull());
}

void TestSplashFade::run()
{
    const QPixmap picture = testPicture();
    QSplashScreen splash(picture);
    SplashFade fade(picture);
    QList<int> indices;
    QList<QRgb> firstPixels;
    connect(&fade, &SplashFade::frameShown, this, [&](int index, const QImage &image) {
        QVERIFY(splash.isVisible());
        QCOMPARE(splash.pixmap().toImage().convertToFormat(image.format()), image);
        indices.append(index);
        firstPixels.append(image.pixel(1, 0));
    });
    fade.run(splash);

    QCOMPARE(indices.size(), SplashFade::FrameCount);
    for (int i = 0; i < indices.size(); ++i)
        QCOMPARE(indices.at(i), i);
    // The black pixel grows lighter with every frame and never reaches white.
    for (int i = 1; i < firstPixels.size(); ++i)
        QVERIFY(qRed(firstPixels.at(i)) >= qRed(firstPixels.at(i - 1)));
    QVERIFY(qRed(firstPixels.first()) == 0);
    QVERIFY(qRed(firstPixels.last()) < 255);
    QVERIFY(!splash.isVisible());
}

QTEST_MAIN(TestSplashFade)
#include "tst_splashfade.moc"
