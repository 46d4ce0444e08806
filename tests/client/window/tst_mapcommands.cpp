// File → Import register map… and Export register map… in the main window:
// the preview shows what will be added and what cannot, OK adds the map's
// reads and writes as one step of the history, the preview's choices are
// remembered per kind of file, and an export imports back to the same rows.

#include "filenames.h"
#include "mapcommands.h"
#include "readelement.h"
#include "registermapfile.h"
#include "scriptedprompts.h"
#include "windowtesting.h"
#include "writeelement.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class tst_mapCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void importAsOneStep();
    void cancelAddsNothing();
    void refusedRowAddsNothing_data();
    void refusedRowAddsNothing();
    void exportImportsBack();
    void exportFailureIsTold();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    // A window with an open project of one active port.
    static void openProject(MainWindow &window, const QString &file);
    QTemporaryDir dir;
};

void tst_mapCommands::initTestCase()
{
    QVERIFY(dir.isValid());
    FileNames::keepBytesAsGiven();
    QCoreApplication::setOrganizationName("qel-test");
    QCoreApplication::setApplicationName("tst_mapcommands");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    QSettings().clear();
}

void tst_mapCommands::openProject(MainWindow &window, const QString &file)
{
    QVERIFY(writeProject(file, project("Bay", {tcpPort(1502)}, {readRequest("U16", "1")})));
    window.loadFile(file);
    QCOMPARE(window.document()->name(), QString("Bay"));
}

void tst_mapCommands::importAsOneStep()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    logRecorder log(window);
    openProject(window, path("bay.json"));
    QVERIFY(writeFile(path("meter.csv"),
        "Nazwa;Adres;Typ;Mnożnik;Jednostka;Dostęp\r\n"
        "Prąd L1;100;U16;0,01;A;R\r\n"
        "Nastawa;200;S16;0,1;°C;RW\r\n"
        "Zły;70000;U16;;;R\r\n"
        "Wyłącz;300;U16;;;W\r\n"));

    QStringList shownProblems;
    QString summary;
    int previewRows = 0;
    prompts.fileAnswers << path("meter.csv");
    prompts.dialogAnswers << [&](QDialog *dialog) {
        summary = dialog->findChild<QLabel *>("summary")->text();
        shownProblems = dialog->findChild<QPlainTextEdit *>("problems")->toPlainText().split('\n');
        previewRows = dialog->findChild<QTableWidget *>("rows")->rowCount();
        // The user takes the decimal comma alone for this kind of file.
        const QList<QComboBox *> choices = dialog->findChildren<QComboBox *>();
        choices.at(2)->setCurrentIndex(int(mapOptions::Decimal::Comma));
        return int(QDialog::Accepted);
    };
    action(window, "actionImportMap")->trigger();
    QCoreApplication::processEvents();

    QCOMPARE(prompts.kinds(), QStringList({"open", "dialog"}));
    QCOMPARE(summary, QString("To be added: 2 reads, 2 writes. Lines that cannot be added: 1."));
    QCOMPARE(previewRows, 4);
    QCOMPARE(shownProblems, QStringList {"Line 4, Adres: 70000 is outside 0 to 65535"});
    const QList<readElement *> reads = rows<readElement>(window, "readLayout");
    const QList<writeElement *> writes = rows<writeElement>(window, "writeLayout");
    QCOMPARE(reads.size(), 3);
    QCOMPARE(writes.size(), 2);
    QCOMPARE(reads.at(1)->request().desc, QString("Prąd L1"));
    QCOMPARE(reads.at(1)->request().shown("1234"), QString("12.34 A"));
    QCOMPARE(writes.at(0)->request().shown(), QString("0 °C (0)"));
    QVERIFY(log.all().contains(QString("<b>Import map</b> [%1]").arg(path("meter.csv"))));
    QCOMPARE(mapCommands::rememberedOptions("csv").decimal, mapOptions::Decimal::Comma);
    QCOMPARE(mapCommands::rememberedOptions("xlsx").decimal, mapOptions::Decimal::Either);

    // One step: undone and redone as a whole.
    QVERIFY(window.document()->isModified());
    window.document()->undo();
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 1);
    QCOMPARE(rows<writeElement>(window, "writeLayout").size(), 0);
    // It was the only step since the project was opened.
    QVERIFY(!action(window, "actionUndo")->isEnabled());
    window.document()->redo();
    QCOMPARE(rows<readElement>(window, "readLayout"), reads);
    QCOMPARE(rows<writeElement>(window, "writeLayout"), writes);
}

void tst_mapCommands::cancelAddsNothing()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    openProject(window, path("cancel.json"));
    QVERIFY(writeFile(path("small.csv"), "name,address\nA,1\n"));
    prompts.fileAnswers << path("small.csv");
    prompts.dialogAnswers << [](QDialog *) { return int(QDialog::Rejected); };
    action(window, "actionImportMap")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(prompts.kinds(), QStringList({"open", "dialog"}));
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 1);
    QVERIFY(!window.document()->isModified());

    // A map with nothing to add offers no OK.
    QVERIFY(writeFile(path("bad.csv"), "name,address\nA,x\n"));
    prompts.fileAnswers << path("bad.csv");
    bool okOffered = true;
    prompts.dialogAnswers << [&](QDialog *dialog) {
        okOffered
            = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
        return int(QDialog::Accepted);
    };
    action(window, "actionImportMap")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!okOffered);
    QVERIFY(!window.document()->isModified());
}

void tst_mapCommands::refusedRowAddsNothing_data()
{
    QTest::addColumn<QByteArray>("map"); // the file's lines after its header
    QTest::addColumn<QString>("refusal"); // the message box's text
    // The refused row last: the good rows before it are not added either.
    QTest::newRow("control character in a name")
        << QByteArray("Prąd L1;100;U16;;R;\r\nPrąd\aL2;101;U16;;R;\r\n")
        << "Read, row 3: \"desc\" holds a control character (U+0007)";
    QTest::newRow("line separator in a unit") << QByteArray(
        "Prąd L1;100;U16;;R;\r\nNastawa;200;U16;°\xe2\x80\xa8"
        "C;W;5\r\n") << "Write, row 1: \"unit\" holds a control character (U+2028)";
    QTest::newRow("text value taken for an option")
        << QByteArray(
               "Prąd L1;100;U16;;R;\r\nNastawa;200;U16;;W;5\r\nTekst;300;STR;;W;--stop;4\r\n")
        << "Write, row 2: \"value\" begins with \"--\", which a driver would take for an option";
}

// A row the project refuses (it passed the map's checks, not the rules of
// its fields) refuses the whole import: the message names it, no row is
// added, there is no step in the history and the log's status is ERROR.
void tst_mapCommands::refusedRowAddsNothing()
{
    QFETCH(QByteArray, map);
    QFETCH(QString, refusal);
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    openProject(window, path("refused.json"));
    logRecorder log(window);
    QVERIFY(writeFile(path("refused.csv"),
        QByteArray("Nazwa;Adres;Typ;Jednostka;Dostęp;Wartość;Długość\r\n") + map));
    QString summary;
    prompts.fileAnswers << path("refused.csv");
    prompts.dialogAnswers << [&](QDialog *dialog) {
        summary = dialog->findChild<QLabel *>("summary")->text();
        return int(QDialog::Accepted);
    };
    action(window, "actionImportMap")->trigger();
    QCoreApplication::processEvents();

    // The map's own checks let every row through.
    QVERIFY2(summary.startsWith("To be added: ") && !summary.contains("cannot be added"),
        qPrintable(summary));
    QCOMPARE(prompts.kinds(), QStringList({"open", "dialog", "message"}));
    QCOMPARE(prompts.asked.at(2).text, refusal);
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 1);
    QCOMPARE(rows<writeElement>(window, "writeLayout").size(), 0);
    QVERIFY(!window.document()->isModified());
    QVERIFY(!action(window, "actionUndo")->isEnabled());
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.at(0).contains(QString("<b>Import map</b> [%1]").arg(path("refused.csv")))
            && lines.at(0).endsWith(errorStatus),
        qPrintable(lines.at(0)));
    QVERIFY(!log.all().contains(okStatus));
}

void tst_mapCommands::exportImportsBack()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonObject scaled = readRequest("S32", "10", "", "Power");
    scaled.insert("scale", "0.5");
    scaled.insert("unit", "kW");
    scaled.insert("kind", "input");
    QJsonObject single = writeRequest("U16", "20", "7", "Reset");
    single.insert("function", "6");
    QVERIFY(writeProject(path("export.json"),
        project("Bay", {tcpPort(1502)}, {readRequest("U16", "1", "F_X_X"), scaled}, {single})));
    window.loadFile(path("export.json"));

    for (const QString &file : {QString("out.csv"), QString("out.xlsx")}) {
        prompts.fileAnswers << path(file);
        action(window, "actionExportMap")->trigger();
        QCoreApplication::processEvents();
        const mapImport back = registerMapFile::read(path(file), mapOptions());
        QVERIFY(back.problems.empty());
        QCOMPARE(int(back.entries.size()), 3);
        QCOMPARE(back.entries[0].read->toJson(),
            rows<readElement>(window, "readLayout").at(0)->request().toJson());
        QCOMPARE(back.entries[1].read->toJson(), scaled);
        QCOMPARE(back.entries[2].write->toJson(), single);
    }
    QVERIFY(!window.document()->isModified());
}

void tst_mapCommands::exportFailureIsTold()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    openProject(window, path("fails.json"));
    prompts.fileAnswers << dir.path();
    action(window, "actionExportMap")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(prompts.kinds(), QStringList({"save", "message"}));
    QVERIFY(prompts.asked.at(1).text.startsWith(QString("Cannot write %1").arg(dir.path())));
}

QTEST_MAIN(tst_mapCommands)
#include "tst_mapcommands.moc"
