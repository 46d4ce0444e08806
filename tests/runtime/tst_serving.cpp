// The pieces of a serving driver that need no device: request lines written
// and read back as arguments, the ready and end lines, and bounded lines from
// a descriptor with a stop request.

#include "argumentline.h"
#include "linereader.h"
#include "serveprotocol.h"

#include <QtTest>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

class TestServing : public QObject
{
    Q_OBJECT

private slots:
    void argumentsRoundTrip_data();
    void argumentsRoundTrip();
    void writtenLines_data();
    void writtenLines();
    void readyLine_data();
    void readyLine();
    void keysAreRandom();
    void endLine_data();
    void endLine();
    void endLineOfAnotherSessionIsOutput();
    void lines_data();
    void lines();
    void hugeLineIsSkippedWithoutKeepingIt();
    void stopEndsTheWait();
};

void TestServing::argumentsRoundTrip_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("plain") << QStringList {"--read_u16", "100"};
    QTest::newRow("empty") << QStringList {"--param", "", "--x"};
    QTest::newRow("blank inside") << QStringList {"--param", "1 7305"};
    QTest::newRow("tab inside") << QStringList {"--save", "a\tb"};
    QTest::newRow("quote inside") << QStringList {"--data", "a\"b"};
    QTest::newRow("quote alone") << QStringList {"\""};
    QTest::newRow("two quotes") << QStringList {"\"\""};
    QTest::newRow("quote at the end") << QStringList {"x\"", "y"};
    QTest::newRow("quote at the start") << QStringList {"\"x", "y"};
    QTest::newRow("quote and blank") << QStringList {"a\" b", "c"};
    QTest::newRow("not ASCII") << QStringList {"--save", "zażółć gęślą.bin"};
    QTest::newRow("backslashes") << QStringList {"--save", "C:\\data\\x.bin"};
    QTest::newRow("none") << QStringList {};
}

void TestServing::argumentsRoundTrip()
{
    QFETCH(QStringList, arguments);
    const QString line = ArgumentLine::join(arguments);
    QCOMPARE(ArgumentLine::split(line), arguments);
    QVERIFY(!line.contains('\n'));
}

void TestServing::writtenLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("blanks separate") << "--read_u16  100 " << QStringList {"--read_u16", "100"};
    QTest::newRow("quotes group") << "--param \"1 7305\"" << QStringList {"--param", "1 7305"};
    QTest::newRow("empty quotes") << "--param \"\"" << QStringList {"--param", ""};
    QTest::newRow("three quotes") << "a\"\"\"b" << QStringList {"a\"b"};
    QTest::newRow("a stray quote groups the rest")
        << "--data \"1 --port 2" << QStringList {"--data", "1 --port 2"};
    QTest::newRow("carriage return separates")
        << "--read_u16\r100" << QStringList {"--read_u16", "100"};
}

void TestServing::writtenLines()
{
    QFETCH(QString, line);
    QFETCH(QStringList, arguments);
    QCOMPARE(ArgumentLine::split(line), arguments);
}

void TestServing::readyLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("ready") << QByteArray("serving 0123456789abcdef")
                           << QByteArray("0123456789abcdef");
    QTest::newRow("short key") << QByteArray("serving 0123") << QByteArray();
    QTest::newRow("upper-case key") << QByteArray("serving 0123456789ABCDEF") << QByteArray();
    QTest::newRow("line end kept") << QByteArray("serving 0123456789abcdef\r") << QByteArray();
    QTest::newRow("another line") << QByteArray("Invalid parameters:") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestServing::readyLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, key);
    QCOMPARE(ServeProtocol::keyOfReadyLine(line), key);
    if (!key.isEmpty())
        QCOMPARE(ServeProtocol::readyLine(key), line + '\n');
}

void TestServing::keysAreRandom()
{
    const QByteArray first = ServeProtocol::newKey();
    const QByteArray second = ServeProtocol::newKey();
    QCOMPARE(first.size(), ServeProtocol::KeyLength);
    QCOMPARE(ServeProtocol::keyOfReadyLine(ServeProtocol::readyLine(first).chopped(1)), first);
    QVERIFY(first != second);
}

void TestServing::endLine_data()
{
    const QByteArray key = "00000000deadbeef";
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("rest");
    QTest::addColumn<bool>("wellFormed");
    QTest::newRow("value") << QByteArray("1234\r\n") + ServeProtocol::endLine(key, 0) << true
                           << QByteArray("1234\r\n") << 0 << QByteArray() << true;
    QTest::newRow("failure shows as 255")
        << QByteArray("0\r\n") + ServeProtocol::endLine(key, -1) + "next" << true
        << QByteArray("0\r\n") << 255 << QByteArray("next") << true;
    QTest::newRow("output without a line end")
        << QByteArray("[==>] 100 %\r\n0x0001,0x00AB") + ServeProtocol::endLine(key, 0) << true
        << QByteArray("[==>] 100 %\r\n0x0001,0x00AB") << 0 << QByteArray() << true;
    QTest::newRow("nothing printed")
        << ServeProtocol::endLine(key, 0) << true << QByteArray() << 0 << QByteArray() << true;
    QTest::newRow("end line not whole yet") << QByteArray("1\r\n\nend 00000000deadbeef 0") << false
                                            << QByteArray() << 0 << QByteArray() << true;
    QTest::newRow("status not a number") << QByteArray("\nend 00000000deadbeef x1\n") << true
                                         << QByteArray() << 0 << QByteArray() << false;
    QTest::newRow("status out of range") << QByteArray("\nend 00000000deadbeef 256\n") << true
                                         << QByteArray() << 256 << QByteArray() << false;
}

void TestServing::endLine()
{
    const QByteArray key = "00000000deadbeef";
    QFETCH(QByteArray, buffer);
    QFETCH(bool, found);
    QFETCH(QByteArray, output);
    QFETCH(int, status);
    QFETCH(QByteArray, rest);
    QFETCH(bool, wellFormed);
    const ServeProtocol::EndLine end = ServeProtocol::findEndLine(buffer, key);
    QCOMPARE(end.found, found);
    if (!found)
        return;
    QCOMPARE(buffer.left(end.markAt), output);
    QCOMPARE(buffer.mid(end.next), rest);
    QCOMPARE(end.wellFormed, wellFormed);
    if (wellFormed)
        QCOMPARE(end.status, status);
}

void TestServing::endLineOfAnotherSessionIsOutput()
{
    // A device's text that happens to read like an end line of another key
    // is output: only the session's own key ends a request.
    const QByteArray key = ServeProtocol::newKey();
    const QByteArray forged = "\nend 0123456789abcdef 0\n";
    const QByteArray buffer = forged + ServeProtocol::endLine(key, 255);
    const ServeProtocol::EndLine end = ServeProtocol::findEndLine(buffer, key);
    QVERIFY(end.found);
    QCOMPARE(buffer.left(end.markAt), forged);
    QCOMPARE(end.status, 255);
}

namespace {

// A pipe whose write end a thread fills with bytes and closes.
struct FedPipe
{
    explicit FedPipe(QByteArray bytes)
    {
        if (::pipe(ends) != 0)
            ends[0] = ends[1] = -1;
        writer = std::thread([this, bytes] {
            qint64 done = 0;
            while (done < bytes.size()) {
                const ssize_t n
                    = ::write(ends[1], bytes.constData() + done, size_t(bytes.size() - done));
                if (n <= 0)
                    break;
                done += n;
            }
            ::close(ends[1]);
        });
    }
    ~FedPipe()
    {
        writer.join();
        ::close(ends[0]);
    }
    int ends[2];
    std::thread writer;
};

} // namespace

void TestServing::lines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QList<QByteArray>>("texts");
    using R = LineReader;
    QTest::newRow("two lines") << QByteArray("a b\n\n") << 100
                               << QList<int> {R::Line, R::Line, R::End}
                               << QList<QByteArray> {"a b", "", ""};
    QTest::newRow("carriage return kept")
        << QByteArray("x\r\n") << 100 << QList<int> {R::Line, R::End}
        << QList<QByteArray> {"x\r", ""};
    QTest::newRow("line at the bound") << QByteArray("1234\n") << 4 << QList<int> {R::Line, R::End}
                                       << QList<QByteArray> {"1234", ""};
    QTest::newRow("line past the bound")
        << QByteArray("12345\nok\n") << 4 << QList<int> {R::TooLong, R::Line, R::End}
        << QList<QByteArray> {"", "ok", ""};
    QTest::newRow("cut off by the end")
        << QByteArray("ok\n--write_u16 5 --da") << 100
        << QList<int> {R::Line, R::Unterminated, R::End} << QList<QByteArray> {"ok", "", ""};
    QTest::newRow("cut off past the bound")
        << QByteArray("123456789") << 4 << QList<int> {R::Unterminated, R::End}
        << QList<QByteArray> {"", ""};
    QTest::newRow("nothing") << QByteArray() << 100 << QList<int> {R::End}
                             << QList<QByteArray> {""};
    QTest::newRow("NUL and bytes that are not UTF-8 pass")
        << QByteArray("a\0\xff\n", 4) << 100 << QList<int> {R::Line, R::End}
        << QList<QByteArray> {QByteArray("a\0\xff", 3), ""};
}

void TestServing::lines()
{
    QFETCH(QByteArray, input);
    QFETCH(int, maxBytes);
    QFETCH(QList<int>, kinds);
    QFETCH(QList<QByteArray>, texts);
    FedPipe pipe(input);
    LineReader reader(pipe.ends[0], -1, maxBytes);
    for (int i = 0; i < kinds.size(); ++i) {
        const LineReader::Result result = reader.next();
        QCOMPARE(int(result.kind), kinds.at(i));
        QCOMPARE(result.bytes, texts.at(i));
    }
}

void TestServing::hugeLineIsSkippedWithoutKeepingIt()
{
    // A 10 MB line and a good one after it: the first is refused as too long
    // (the reader's buffer never holds much more than the bound), the second
    // comes whole.
    FedPipe pipe(QByteArray(10 * 1024 * 1024, 'x') + "\n--read_u16 1\n");
    LineReader reader(pipe.ends[0], -1, 1 << 20);
    QCOMPARE(int(reader.next().kind), int(LineReader::TooLong));
    const LineReader::Result next = reader.next();
    QCOMPARE(int(next.kind), int(LineReader::Line));
    QCOMPARE(next.bytes, QByteArray("--read_u16 1"));
    QCOMPARE(int(reader.next().kind), int(LineReader::End));
}

void TestServing::stopEndsTheWait()
{
    // Input that never comes, and a stop that does: the wait ends with
    // Stopped, as long as the input stays silent.
    int input[2], stop[2];
    QVERIFY(::pipe(input) == 0 && ::pipe(stop) == 0);
    std::thread stopper([&stop] { (void)!::write(stop[1], "s", 1); });
    LineReader reader(input[0], stop[0], 100);
    QCOMPARE(int(reader.next().kind), int(LineReader::Stopped));
    stopper.join();
    for (int fd : {input[0], input[1], stop[0], stop[1]})
        ::close(fd);
}

QTEST_GUILESS_MAIN(TestServing)
#include "tst_serving.moc"
