#include "monitoroutputreader.h"
#include "monitorrows.h"

#include <QtTest>

using namespace MonitorRows;

// Reading qelDrvMonitor's CSV rows as they come: records split across reads
// anywhere, odd fields, and the pairing of a request's row with its reply's.
class tst_monitorCsv : public QObject
{
    Q_OBJECT

private slots:
    void records_data();
    void records();
    void overlongRecordIsDropped();
    void transactions_data();
    void transactions();
    void requestWithoutItsReplyRow();
    void endOfOutput();
    void unknownHeader();
    void columns_data();
    void columns();
};

namespace {

// The pieces of text when it is cut at the given positions.
QList<QByteArray> cut(const QByteArray &text, const QList<int> &positions)
{
    QList<QByteArray> pieces;
    int from = 0;
    for (const int at : positions) {
        pieces << text.mid(from, at - from);
        from = at;
    }
    pieces << text.mid(from);
    return pieces;
}

// Every way of handing text over: whole, in two pieces cut at each byte, and
// byte by byte.
QList<QList<QByteArray>> everySplit(const QByteArray &text)
{
    QList<QList<QByteArray>> splits {{text}};
    for (int at = 1; at < text.size(); ++at)
        splits << cut(text, {at});
    QList<int> everyByte;
    for (int at = 1; at < text.size(); ++at)
        everyByte << at;
    splits << cut(text, everyByte);
    return splits;
}

} // namespace

void tst_monitorCsv::records_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QStringList>>("expected");
    QTest::addColumn<QByteArray>("rest");

    QTest::newRow("plain rows") << QByteArray("a,b\r\nc,d\r\n")
                                << QList<QStringList> {{"a", "b"}, {"c", "d"}} << QByteArray();
    QTest::newRow("comma in a quoted field")
        << QByteArray("\"1,2\",x\r\n") << QList<QStringList> {{"1,2", "x"}} << QByteArray();
    QTest::newRow("line break in a quoted field")
        << QByteArray("\"a\r\nb\",c\r\n\"d\ne\"\r\n")
        << QList<QStringList> {{"a\r\nb", "c"}, {"d\ne"}} << QByteArray();
    QTest::newRow("doubled quotes") << QByteArray("\"say \"\"hi\"\"\",\"\"\"\"\r\n")
                                    << QList<QStringList> {{"say \"hi\"", "\""}} << QByteArray();
    QTest::newRow("empty fields") << QByteArray(",,\r\n\"\",x\r\n")
                                  << QList<QStringList> {{"", "", ""}, {"", "x"}} << QByteArray();
    QTest::newRow("UTF-8 text") << QByteArray("Zażółć,\"gęślą, jaźń\"\r\n")
                                << QList<QStringList> {{"Zażółć", "gęślą, jaźń"}} << QByteArray();
    QTest::newRow("a bare line feed ends a record")
        << QByteArray("a\nb\r\n") << QList<QStringList> {{"a"}, {"b"}} << QByteArray();
    QTest::newRow("a quote inside an unquoted field is text")
        << QByteArray("ab\"c,d\r\n") << QList<QStringList> {{"ab\"c", "d"}} << QByteArray();
    QTest::newRow("text after a closing quote")
        << QByteArray("\"ab\"c,d\r\n") << QList<QStringList> {{"abc", "d"}} << QByteArray();
    QTest::newRow("a record without its line end")
        << QByteArray("a,b\r\n\"c,\r\nd") << QList<QStringList> {{"a", "b"}}
        << QByteArray("\"c,\r\nd");
}

void tst_monitorCsv::records()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QStringList>, expected);
    QFETCH(QByteArray, rest);

    for (const QList<QByteArray> &pieces : everySplit(text)) {
        monitorCsvReader reader;
        QList<QByteArray> found;
        for (const QByteArray &piece : pieces)
            found += reader.feed(piece);
        QList<QStringList> fields;
        QByteArray joined;
        for (const QByteArray &record : found) {
            fields << monitorCsvReader::fields(record);
            joined += record;
        }
        QCOMPARE(fields, expected);
        // Nothing is lost between the records and what is left.
        QCOMPARE(joined + reader.finish(), text);
        QCOMPARE(reader.droppedRecords(), 0);
    }
    QCOMPARE(monitorCsvReader::records(text).size(), expected.size() + (rest.isEmpty() ? 0 : 1));
}

// A quote left open would make everything after it one field: the record is
// dropped once it is longer than any the monitor writes, and reading goes on
// at the next line end.
void tst_monitorCsv::overlongRecordIsDropped()
{
    monitorCsvReader reader;
    QByteArray open = "x,\"" + QByteArray(monitorCsvReader::MaxRecordBytes, 'a');
    QList<QByteArray> found;
    for (int at = 0; at < open.size(); at += 65536)
        found += reader.feed(open.mid(at, 65536));
    found += reader.feed("still,dropped\r\nnext,row\r\n");
    QCOMPARE(reader.droppedRecords(), 1);
    QCOMPARE(found.size(), 1);
    QCOMPARE(monitorCsvReader::fields(found.first()), QStringList({"next", "row"}));
    QCOMPARE(reader.finish(), QByteArray());
}

void tst_monitorCsv::transactions_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QList<QByteArray>>("transactionRows");
    QTest::addColumn<QList<int>>("addresses");
    QTest::addColumn<QStringList>("functions");
    QTest::addColumn<QList<bool>>("failed");

    QTest::newRow("a request with its reply")
        << readRequest() + readReply() << QList<QByteArray> {readRequest() + readReply()}
        << QList<int> {1} << QStringList {"Read Holding Registers"} << QList<bool> {false};
    QTest::newRow("an exception") << exceptionRequest() + exceptionReply()
                                  << QList<QByteArray> {exceptionRequest() + exceptionReply()}
                                  << QList<int> {2} << QStringList {"Read Input Registers"}
                                  << QList<bool> {true};
    QTest::newRow("no reply, a broadcast, a bad frame, a reply alone")
        << unanswered() + broadcast() + badFrame() + replyOnly()
        << QList<QByteArray> {unanswered(), broadcast(), badFrame(), replyOnly()}
        << QList<int> {3, 0, -1, 1}
        << QStringList {"Read Holding Registers", "Write Single Register", "",
               "Read Input Registers"}
        << QList<bool> {true, false, true, false};
    QTest::newRow("quoted values with commas, quotes and a line break")
        << macroRequest() + macroReply() + readRequest() + readReply()
        << QList<QByteArray> {macroRequest() + macroReply(), readRequest() + readReply()}
        << QList<int> {1, 1} << QStringList {"Macro", "Read Holding Registers"}
        << QList<bool> {false, false};
}

void tst_monitorCsv::transactions()
{
    QFETCH(QByteArray, rows);
    QFETCH(QList<QByteArray>, transactionRows);
    QFETCH(QList<int>, addresses);
    QFETCH(QStringList, functions);
    QFETCH(QList<bool>, failed);

    for (const QList<QByteArray> &pieces : everySplit(header() + rows)) {
        monitorOutputReader reader;
        QVector<monitorTransaction> found;
        for (const QByteArray &piece : pieces)
            found += reader.feed(piece);
        found += reader.finish();
        QVERIFY(reader.headerKnown());
        QCOMPARE(found.size(), transactionRows.size());
        for (int i = 0; i < found.size(); ++i) {
            QCOMPARE(found.at(i).rows, transactionRows.at(i));
            QCOMPARE(found.at(i).address, addresses.at(i));
            QCOMPARE(found.at(i).function, functions.at(i));
            QCOMPARE(found.at(i).failed, failed.at(i));
        }
    }
}

// A request row with status OK whose reply row does not follow stands
// alone, and the row that came instead is read on its own.
void tst_monitorCsv::requestWithoutItsReplyRow()
{
    monitorOutputReader reader;
    const QVector<monitorTransaction> found
        = reader.feed(header() + readRequest() + unanswered() + readRequest() + readReply());
    QCOMPARE(found.size(), 3);
    QCOMPARE(found.at(0).rows, readRequest());
    QCOMPARE(found.at(1).rows, unanswered());
    QCOMPARE(found.at(2).rows, readRequest() + readReply());
}

// At the end of the output a request still waiting for its reply row is a
// transaction, and a row cut short is told.
void tst_monitorCsv::endOfOutput()
{
    monitorOutputReader reader;
    QCOMPARE(reader.feed(header() + readRequest()).size(), 0);
    QCOMPARE(reader.feed(readReply().left(20)).size(), 0);
    bool incomplete = false;
    const QVector<monitorTransaction> last = reader.finish(&incomplete);
    QVERIFY(incomplete);
    QCOMPARE(last.size(), 1);
    QCOMPARE(last.first().rows, readRequest());

    monitorOutputReader whole;
    whole.feed(header() + readRequest() + readReply());
    QVERIFY(whole.finish(&incomplete).isEmpty());
    QVERIFY(!incomplete);
}

void tst_monitorCsv::unknownHeader()
{
    monitorOutputReader reader;
    reader.feed("time,direction,address\r\n" + readRequest());
    QVERIFY(!reader.headerKnown());
    QCOMPARE(reader.header(), QByteArray("time,direction,address\r\n"));
    QCOMPARE(monitorOutputReader::expectedHeader(), header());
}

void tst_monitorCsv::columns_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("a request with its reply")
        << readRequest() + readReply()
        << QStringList {"2024-05-07T10:15:02.481+02:00", "1", "Read Holding Registers", "100", "3",
               "", "1234 64302 4660", "4", "OK", "01 03 00 64 00 03 44 14",
               "01 03 06 04 D2 FB 2E 12 34 F5 1B"};
    QTest::newRow("an exception") << exceptionRequest() + exceptionReply()
                                  << QStringList {"2024-05-07T10:15:02.481+02:00", "2",
                                         "Read Input Registers", "0", "1", "", "", "5",
                                         "Illegal data address", "02 04 00 00 00 01 31 F9",
                                         "02 84 02 C2 C1"};
    QTest::newRow("no reply") << unanswered()
                              << QStringList {"2024-05-07T10:15:02.481+02:00", "3",
                                     "Read Holding Registers", "0", "1", "", "", "", "no reply",
                                     "03 03 00 00 00 01 85 E8", ""};
    QTest::newRow("a bad frame") << badFrame()
                                 << QStringList {"2024-05-07T10:15:02.481+02:00", "", "", "", "",
                                        "", "", "", "CRC error", "", "01 03 02 00 07 F9 79"};
    QTest::newRow("a reply alone")
        << replyOnly()
        << QStringList {"2024-05-07T10:15:02.481+02:00", "1", "Read Input Registers", "", "", "",
               "10 20", "", "OK", "", "01 04 04 00 0A 00 14 7B 85"};
    QTest::newRow("a macro with quoted values")
        << macroRequest() + macroReply()
        << QStringList {"2024-05-07T10:15:02.481+02:00", "1", "Macro", "", "",
               "FD_MACRO_LOGIN code 44 spec 1 params \"1, 2\"", "device \"A\"\r\nline 2", "3", "OK",
               "01 10 00 00", "01 10 00 00 00 04"};
}

void tst_monitorCsv::columns()
{
    QFETCH(QByteArray, rows);
    QFETCH(QStringList, expected);
    monitorTransaction transaction;
    transaction.rows = rows;
    QCOMPARE(transaction.columns(), expected);
}

QTEST_GUILESS_MAIN(tst_monitorCsv)
#include "tst_monitorcsv.moc"
