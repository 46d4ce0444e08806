#include "documenttesting.h"
#include "readelement.h"
#include "rtuelement.h"
#include "tcpelement.h"
#include "writeelement.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

// The project document: every change one step of its history, edits that
// change nothing left out, requests of rows that are gone, and what loading
// and saving leave behind.
class tst_projectDocument : public QObject
{
    Q_OBJECT

private:
    static writeValues write(const QString &addr, const QString &value)
    {
        return {QStringLiteral("U16"), addr, value, QStringLiteral("d")};
    }
    static portValues tcp(const QString &port)
    {
        portValues values;
        values.kind = portValues::Tcp;
        values.port = port;
        return values;
    }

private slots:
    void edits_data();
    void edits();
    void requestsOfRows();
    void requestOfRowGone();
    void activateChangesSomething();
    void load();
    void save();
};

void tst_projectDocument::edits_data()
{
    QTest::addColumn<rowValues>("stored");
    QTest::addColumn<rowValues>("edited");
    QTest::addColumn<bool>("step");

    QTest::newRow("value") << rowValues(write("1", "23")) << rowValues(write("1", "24")) << true;
    QTest::newRow("nothing changed")
        << rowValues(write("1", "23")) << rowValues(write("1", "23")) << false;
    // The same fields joined: their fingerprints are the same.
    QTest::newRow("address and value that join alike")
        << rowValues(write("1", "23")) << rowValues(write("12", "3")) << true;
    QTest::newRow("TCP port and address that join alike") << rowValues(tcp("502")) << rowValues([] {
        portValues values = tcp("50");
        values.addr = "20"; // "0" of a new row: 502 + 0 against 50 + 20
        return values;
    }()) << true;
    QTest::newRow("values of another kind")
        << rowValues(write("1", "23")) << rowValues(readValues()) << false;
    QTest::newRow("a serial line for a TCP row")
        << rowValues(tcp("502")) << rowValues(portValues()) << false;
}

// An edit is one step exactly when it changes a stored field.
void tst_projectDocument::edits()
{
    QFETCH(rowValues, stored);
    QFETCH(rowValues, edited);
    QFETCH(bool, step);
    openedProject opened;
    projectElement *row = opened.open<projectElement>(stored);
    QSignalSpy changed(&opened.document, &projectDocument::changed);
    opened.document.edit(row, edited);
    QCOMPARE(opened.document.isModified(), step);
    QCOMPARE(changed.count(), step ? 1 : 0);
    QCOMPARE(jsonOf(row->values()), jsonOf(step ? edited : stored));
    opened.document.undo();
    QCOMPARE(jsonOf(row->values()), jsonOf(stored));
}

// The rows' requests come to the document: an edit and a trend mark at
// once, a deletion and an activation from the event loop.
void tst_projectDocument::requestsOfRows()
{
    openedProject opened;
    auto *read = opened.open<readElement>(readValues());
    auto *port = opened.open<tcpElement>(tcp("502"));
    emit read->trendMarkRequested(true);
    QVERIFY(read->isTrendMarked());
    emit port->editRequested(tcp("1502"));
    QCOMPARE(port->line().port, QStringLiteral("1502"));
    emit port->active();
    QVERIFY(!port->isActive());
    QCoreApplication::processEvents();
    QVERIFY(port->isActive());
    emit read->del();
    QCoreApplication::processEvents();
    QCOMPARE(opened.document.lists().elements(projectLists::Reads).size(), 0);
    // Four steps, each undone.
    int steps = 0;
    for (; opened.undoAction.isEnabled() && steps < 10; ++steps)
        opened.document.undo();
    QCOMPARE(steps, 4);
    QCOMPARE(opened.document.lists().elements(projectLists::Reads), {read});
    QVERIFY(!read->isTrendMarked());
    QCOMPARE(port->line().port, QStringLiteral("502"));
    QVERIFY(!port->isActive());
}

// A row deleted before its queued request arrives asks nothing.
void tst_projectDocument::requestOfRowGone()
{
    openedProject opened;
    projectElement *row = opened.open<projectElement>(portValues());
    emit row->active();
    emit row->del();
    opened.document.clear();
    QCoreApplication::processEvents();
    QVERIFY(!opened.document.isModified());
    QVERIFY(opened.document.lists().elements(projectLists::Ports).isEmpty());
}

void tst_projectDocument::activateChangesSomething()
{
    openedProject opened;
    auto *first = opened.open<rtuElement>(portValues());
    auto *second = opened.open<tcpElement>(tcp("502"));
    opened.document.activate(first);
    QVERIFY(first->isActive() && !second->isActive());
    QCOMPARE(opened.document.activePort()->kind, portValues::Serial);
    opened.document.save(opened.dir.filePath("saved.json"));
    opened.document.activate(first); // alone active already
    QVERIFY(!opened.document.isModified());
    opened.document.activate(second);
    QCOMPARE(opened.document.activePort()->kind, portValues::Tcp);
    opened.document.undo();
    QCOMPARE(opened.document.activePort()->kind, portValues::Serial);
}

// Loading replaces the project; a file that holds none leaves it cleared.
// The file is named by whoever opened it.
void tst_projectDocument::load()
{
    openedProject opened;
    const QString path = opened.dir.filePath("plant.json");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"name": "Plant", "read": [{"type": "U16", "addr": "7"}, {}],)"
               R"( "communications": [{"type": "TCP", "active": true}, {"type": "CAN"}]})");
    file.close();
    opened.open<writeElement>(writeValues());
    opened.document.setPath("old.json");
    QSignalSpy adopted(&opened.document, &projectDocument::rowAdopted);
    QString error;
    QVERIFY(opened.document.load(path, &error));
    QCOMPARE(adopted.count(), 3);
    QCOMPARE(opened.document.name(), QStringLiteral("Plant"));
    QCOMPARE(opened.document.path(), QString());
    QVERIFY(!opened.document.isModified());
    QCOMPARE(opened.document.lists().elements(projectLists::Writes).size(), 0);
    QCOMPARE(opened.document.activePort()->kind, portValues::Tcp);

    QVERIFY(!opened.document.load(opened.dir.filePath("none.json"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(opened.document.name(), QString());
    QCOMPARE(opened.document.lists().elements(projectLists::Reads).size(), 0);
    QVERIFY(!opened.document.activePort());
}

// A save that fails leaves the project modified; one that succeeds, not.
void tst_projectDocument::save()
{
    openedProject opened;
    opened.document.add(readValues());
    QString error;
    QVERIFY(!opened.document.save(opened.dir.path(), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(opened.document.isModified());
    QVERIFY(opened.document.save(opened.dir.filePath("saved.json"), &error));
    QVERIFY(!opened.document.isModified());
    QVERIFY(!opened.undoAction.isEnabled());
}

QTEST_MAIN(tst_projectDocument)
#include "tst_projectdocument.moc"
