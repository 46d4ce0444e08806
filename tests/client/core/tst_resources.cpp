#include "font.h"
#include "myproxystyle.h"
#include "qttranslation.h"

#include <QApplication>
#include <QImage>
#include <QStyleFactory>
#include <QTranslator>
#include <QtTest>

// What the desktop programs share: the icons and the translation in the
// resources, the status colouring of the log and the application style.
class tst_resources : public QObject
{
    Q_OBJECT

private slots:
    void icons_data();
    void icons();
    void refreshFramesDiffer();
    void translation_data();
    void translation();
    void qtTexts_data();
    void qtTexts();
    void fontTag_data();
    void fontTag();
    void proxyStyle_data();
    void proxyStyle();
};

void tst_resources::icons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"active", "disabled", "data_edit_128", "data_new_128", "data_open_128",
             "data_save_128", "data_save_as_128", "edit_delete_128", "edit_redo_128",
             "edit_undo_128", "exe_128", "logo_modbusclient_128", "system_close_128",
             "system_info_128", "system_load1_128", "system_load2_128", "system_load3_128",
             "system_load4_128", "system_log_128", "system_warning_trans_128"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_resources::icons()
{
    QFETCH(QString, name);
    const QImage image(QStringLiteral(":/_icons/%1.png").arg(name));
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), QSize(128, 128));
    QVERIFY(image.hasAlphaChannel());
    // A drawing, not an empty or filled canvas: a good part of it is drawn and
    // the top left corner is see-through (the logo is a rounded tile).
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    QVERIFY2(drawn > 128 * 128 / 8, qPrintable(QString::number(drawn)));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void tst_resources::refreshFramesDiffer()
{
    // Four frames of one turning drawing: each differs from the one before.
    QImage previous(QStringLiteral(":/_icons/system_load4_128.png"));
    for (int frame = 1; frame <= 4; ++frame) {
        const QImage image(QStringLiteral(":/_icons/system_load%1_128.png").arg(frame));
        QVERIFY(!image.isNull());
        QVERIFY(image != previous);
        previous = image;
    }
}

void tst_resources::translation_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("polish");

    QTest::newRow("log title") << "logWindow"
                               << "Log"
                               << "Dziennik";
    QTest::newRow("log close") << "logWindow"
                               << "Close"
                               << "Zamknij";
    QTest::newRow("log clear") << "logWindow"
                               << "Clear"
                               << "Wyczyść";
    QTest::newRow("dropped lines") << "logWindow"
                                   << "Older lines dropped: %1"
                                   << "Usunięte starsze wiersze: %1";
}

void tst_resources::translation()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, polish);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
    QCOMPARE(translator.translate(context.toLatin1(), source.toUtf8()), polish);
}

void tst_resources::qtTexts_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::newRow("file dialog") << "QFileDialog"
                                 << "Look in:";
    QTest::newRow("file name") << "QFileDialog"
                               << "File &name:";
    QTest::newRow("standard button") << "QPlatformTheme"
                                     << "Save";
    QTest::newRow("JSON parser") << "QJsonParseError"
                                 << "unterminated object";
}

// Qt's own texts come in Polish from the translations installed with Qt.
void tst_resources::qtTexts()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QTranslator translator;
    QVERIFY(loadQtPolish(translator));
    const QString polish = translator.translate(context.toLatin1(), source.toUtf8());
    QVERIFY2(!polish.isEmpty() && polish != source, qPrintable(source));
}

void tst_resources::fontTag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("html");

    QTest::newRow("status OK") << "OK"
                               << ""
                               << "green"
                               << ""
                               << "<font color=\"green\" >OK</font>\n";
    QTest::newRow("status ERROR") << "ERROR"
                                  << ""
                                  << "red"
                                  << ""
                                  << "<font color=\"red\" >ERROR</font>\n";
    QTest::newRow("face only") << "x"
                               << "Courier"
                               << ""
                               << ""
                               << "<font face=\"Courier\" >x</font>\n";
    QTest::newRow("all") << "x"
                         << "Arial"
                         << "blue"
                         << "4"
                         << "<font face=\"Arial\" color=\"blue\" size=\"4\" >x</font>\n";
    QTest::newRow("size only") << "x"
                               << ""
                               << ""
                               << "2"
                               << "<font size=\"2\" >x</font>\n";
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << ""
                             << "<font ></font>\n";
}

void tst_resources::fontTag()
{
    QFETCH(QString, text);
    QFETCH(QString, face);
    QFETCH(QString, color);
    QFETCH(QString, size);
    QFETCH(QString, html);
    QCOMPARE(font(text, face, color, size), html);
}

void tst_resources::proxyStyle_data()
{
    QTest::addColumn<int>("metric");
    QTest::newRow("small icons") << int(QStyle::PM_SmallIconSize);
    QTest::newRow("large icons") << int(QStyle::PM_LargeIconSize);
    QTest::newRow("tool bar icons") << int(QStyle::PM_ToolBarIconSize);
    QTest::newRow("button icons") << int(QStyle::PM_ButtonIconSize);
}

void tst_resources::proxyStyle()
{
    QFETCH(int, metric);
    const auto pm = QStyle::PixelMetric(metric);
    MyProxyStyle style;
    QScopedPointer<QStyle> base(QStyleFactory::create(style.baseStyle()->objectName()));
    QVERIFY(base);
    const int expected = pm == QStyle::PM_SmallIconSize ? 24 : base->pixelMetric(pm);
    QCOMPARE(style.pixelMetric(pm), expected);
}

QTEST_MAIN(tst_resources)
#include "tst_resources.moc"
