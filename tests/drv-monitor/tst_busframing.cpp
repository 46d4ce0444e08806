// The monitor's framers on recorded byte streams: good and bad frames fed
// one read per frame, in the batches of a USB adapter (frames glued together
// and cut in the middle), byte by byte and in uneven chunks. Every good frame
// is found, every bad one reported as what it is, noise is skipped and
// counted, and nothing is invented.

#include "asciiframer.h"
#include "engine/serialtiming.h"
#include "rtuframer.h"
#include "transactiontracker.h"
#include "wireframe.h"

#include <QtTest>

#include <memory>

namespace {

// 115200 baud, 8N1.
const qint64 CharacterUs = Modbus::characterMicroseconds(115200, 8, 'N', 1);
const qint64 SilenceUs = Modbus::frameSilenceMicroseconds(115200, 8, 'N', 1);
constexpr qint64 PauseUs = 5000; // between frames that are not glued
constexpr qint64 TrickleUs = 100000; // between the bytes of a trickled piece

struct Piece
{
    QString kind; // good, crc, cut, unknown, noise
    QByteArray bytes;
    bool glued; // no silence before it
    bool trickled; // every byte alone, long after the one before
};

// One piece per line of the script: "good HEX" (the bytes and their check),
// "crc HEX" (the check wrong), "cut HEX" (the bytes as given; ASCII: the
// frame without its LRC and line end), "unknown HEX" (the bytes and their
// check, of no known shape), "noise HEX" (as given). A leading "+" glues a
// piece to the one before; a leading "~" trickles its bytes, each 100 ms
// after the one before, as a slow device does.
QVector<Piece> pieces(const QStringList &script, bool ascii)
{
    QVector<Piece> result;
    for (QString line : script) {
        Piece piece;
        piece.glued = line.startsWith('+');
        piece.trickled = line.startsWith('~');
        if (piece.glued || piece.trickled)
            line.remove(0, 1);
        piece.kind = line.section(' ', 0, 0);
        const QString hex = line.section(' ', 1);
        if (piece.kind == "noise" || (piece.kind == "cut" && !ascii)) {
            piece.bytes = WireFrame::fromHex(hex);
        } else if (ascii) {
            piece.bytes = WireFrame::ascii(hex);
            if (piece.kind == "crc")
                piece.bytes[piece.bytes.size() - 3]
                    = piece.bytes.at(piece.bytes.size() - 3) == '0' ? '1' : '0';
            if (piece.kind == "cut")
                piece.bytes.chop(4);
        } else {
            piece.bytes = WireFrame::fromHex(WireFrame::rtu(hex));
            if (piece.kind == "crc")
                piece.bytes[piece.bytes.size() - 1] = char(~piece.bytes.at(piece.bytes.size() - 1));
        }
        result.append(piece);
    }
    return result;
}

struct Timed
{
    QByteArray bytes;
    qint64 us; // arrival of the last byte
    bool afterPause = false;
};

// Records the frames; the pairing of the monitor tells what the
// conversation expects.
class RecordingSink : public FrameSink
{
public:
    void add(const BusFrame &frame) override
    {
        frames.append(frame);
        tracker.add(frame);
    }
    bool awaitsReply(quint8 address, quint8 function) const override
    {
        return tracker.awaitsReply(address, function);
    }
    QVector<BusFrame> take()
    {
        QVector<BusFrame> taken;
        taken.swap(frames);
        return taken;
    }

private:
    QVector<BusFrame> frames;
    TransactionTracker tracker {1000000};
};

// Every byte with the time it leaves the line.
QVector<Timed> byteTimeline(const QVector<Piece> &script)
{
    QVector<Timed> bytes;
    qint64 us = 1000000;
    for (const Piece &piece : script) {
        if (!piece.glued)
            us += PauseUs;
        for (int i = 0; i < piece.bytes.size(); ++i) {
            us += i > 0 && piece.trickled ? TrickleUs : CharacterUs;
            const bool afterPause = (i == 0 && !piece.glued) || (i > 0 && piece.trickled);
            bytes.append({QByteArray(1, piece.bytes.at(i)), us, afterPause});
        }
    }
    return bytes;
}

enum class Feeding { FrameByFrame, AdapterBatches, ByteByByte, UnevenChunks };

QVector<Timed> reads(const QVector<Piece> &script, Feeding feeding)
{
    const QVector<Timed> bytes = byteTimeline(script);
    QVector<Timed> result;
    switch (feeding) {
    case Feeding::FrameByFrame:
        // A read ends at every pause.
        for (const Timed &byte : bytes) {
            if (result.isEmpty() || byte.afterPause)
                result.append({QByteArray(), byte.us});
            result.last().bytes += byte.bytes;
            result.last().us = byte.us;
        }
        break;
    case Feeding::AdapterBatches: {
        // Whatever arrived within a 16 ms window is handed over at its end.
        constexpr qint64 WindowUs = 16000;
        for (const Timed &byte : bytes) {
            const qint64 due = (byte.us / WindowUs + 1) * WindowUs;
            if (result.isEmpty() || result.last().us != due)
                result.append({QByteArray(), due});
            result.last().bytes += byte.bytes;
        }
        break;
    }
    case Feeding::ByteByByte:
        result = bytes;
        break;
    case Feeding::UnevenChunks: {
        // Reads of uneven sizes, each handed over when its last byte came;
        // none holds a byte over a pause.
        const int sizes[] = {1, 7, 3, 29, 2, 13, 64, 5};
        for (int at = 0, step = 0; at < bytes.size(); ++step) {
            Timed chunk;
            for (int i = 0; i < sizes[step % 8] && at < bytes.size(); ++i, ++at) {
                if (i > 0 && bytes.at(at).afterPause)
                    break;
                chunk.bytes += bytes.at(at).bytes;
                chunk.us = bytes.at(at).us;
            }
            result.append(chunk);
        }
        break;
    }
    }
    return result;
}

QString kindName(BusFrame::Kind kind)
{
    switch (kind) {
    case BusFrame::Kind::Good:
        return "good";
    case BusFrame::Kind::ChecksumError:
        return "crc";
    case BusFrame::Kind::Truncated:
        return "cut";
    case BusFrame::Kind::Unknown:
        return "unknown";
    }
    return QString();
}

QString described(const BusFrame &frame)
{
    return kindName(frame.kind) + ' ' + WireFrame::toHex(frame.wire);
}

// Feeds the reads, letting every decision that falls due before a read be
// taken first, as the program's wait does; then the line ends.
QStringList frameList(
    BusFramer &framer, RecordingSink &sink, const QVector<Timed> &reads, qint64 *noise)
{
    QStringList found;
    const auto collect = [&] {
        const QVector<BusFrame> frames = sink.take();
        for (const BusFrame &frame : frames)
            found.append(described(frame));
    };
    qint64 last = 0;
    for (const Timed &read : reads) {
        while (framer.nextDecisionUs() >= 0 && framer.nextDecisionUs() <= read.us) {
            framer.advance(framer.nextDecisionUs());
            collect();
        }
        framer.feed(
            reinterpret_cast<const quint8 *>(read.bytes.constData()), read.bytes.size(), read.us);
        collect();
        last = read.us;
    }
    while (framer.nextDecisionUs() >= 0 && framer.nextDecisionUs() < last + 10000000) {
        framer.advance(framer.nextDecisionUs());
        collect();
    }
    framer.finish();
    collect();
    *noise = framer.noiseBytes();
    return found;
}

QStringList expectedFrames(const QVector<Piece> &script, qint64 *noise)
{
    QStringList frames;
    *noise = 0;
    for (const Piece &piece : script) {
        if (piece.kind == "noise")
            *noise += piece.bytes.size();
        else
            frames.append(piece.kind + ' ' + WireFrame::toHex(piece.bytes));
    }
    return frames;
}

std::unique_ptr<BusFramer> rtuFramer(FrameSink &sink)
{
    return std::make_unique<RtuFramer>(CharacterUs, SilenceUs, IncompleteFrameTimeoutUs, sink);
}

} // namespace

class tst_busFraming : public QObject
{
    Q_OBJECT

private slots:
    void recordedStreams_data();
    void recordedStreams();
    void shortReplyWaitsForTheFrameSilence();
    void incompleteFrameEndsAfterLongSilence();
    void floodOfNoiseStaysBounded();
    void framesCarryTheirBytesTimes();
};

void tst_busFraming::recordedStreams_data()
{
    QTest::addColumn<bool>("ascii");
    QTest::addColumn<QStringList>("script");

    QTest::newRow("every function, request and reply")
        << false
        << QStringList {"good 01 01 00 00 00 0A", "good 01 01 02 55 01", "good 01 02 00 10 00 03",
               "good 01 02 01 05", "good 01 03 00 64 00 03", "good 01 03 06 04 D2 FB 2E 12 34",
               "good 01 04 00 00 00 02", "good 01 04 04 00 0A 00 0B", "good 01 05 00 07 FF 00",
               "good 01 05 00 07 FF 00", "good 01 06 00 01 00 05", "good 01 06 00 01 00 05",
               "good 01 0F 00 00 00 0A 02 55 01", "good 01 0F 00 00 00 0A",
               "good 01 10 00 64 00 02 04 00 01 00 02", "good 01 10 00 64 00 02", "good 01 11",
               "good 01 11 65 71 44 6C 76 65 69 53 00 6D", "good 01 11",
               "good 01 11 09 50 79 6D 6F 64 62 75 73 FF",
               "good 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF",
               "good 01 41 0A 00 E2 FF 1D 01 01 30 39 FE FE", "good 01 2B 0E 01 00",
               "good 01 2B 0E 01 01 00 00 02 00 03 71 65 6C 01 03 53 69 6D",
               "good 01 03 00 64 00 7D", "good 01 83 02", "good 00 10 00 64 00 01 02 00 07"};
    QTest::newRow("noise between frames")
        << false
        << QStringList {"good 01 03 00 00 00 01", "noise FF FE FF", "good 01 03 02 00 07",
               "noise 00 00", "good 01 06 00 01 00 05", "noise F8", "good 01 06 00 01 00 05"};
    QTest::newRow("a truncated reply, then the next request")
        << false
        << QStringList {"good 01 03 00 64 00 03", "cut 01 03 06 00 01 00", "good 01 03 00 64 00 03",
               "good 01 03 06 00 01 00 02 00 03"};
    QTest::newRow("a reply with a bad CRC")
        << false
        << QStringList {"good 01 03 00 64 00 01", "crc 01 03 02 00 0A", "good 01 03 00 64 00 01",
               "good 01 03 02 00 0A"};
    QTest::newRow("broadcasts") << false
                                << QStringList {"good 00 06 00 01 00 05",
                                       "good 00 10 00 00 00 01 02 00 07",
                                       "good 00 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF"};
    QTest::newRow("a frame of an unknown function")
        << false
        << QStringList {"good 01 03 00 00 00 01", "unknown 01 07", "good 01 03 00 00 00 01",
               "unknown 01 2B 0D 01 00"};
    QTest::newRow("frames glued without silence")
        << false
        << QStringList {"good 01 03 00 64 00 02", "+good 01 03 04 00 01 00 02",
               "+good 02 04 00 00 00 01", "+good 02 84 02", "+good 01 10 00 01 00 01 02 00 09",
               "+good 01 10 00 01 00 01"};
    QTest::newRow("a truncated frame glued to the next")
        << false
        << QStringList {
               "cut 01 03 06 00 01", "+good 01 03 00 64 00 03", "good 01 03 06 00 01 00 02 00 03"};
    QTest::newRow("a bad CRC glued to the next")
        << false
        << QStringList {"good 01 04 00 00 00 01", "crc 01 04 02 12 34", "+good 01 04 00 00 00 01",
               "+good 01 04 02 12 34"};
    QTest::newRow("noise glued to frames")
        << false
        << QStringList {"noise FF FF", "+good 01 03 00 00 00 01", "+noise FE",
               "+good 01 03 02 00 07", "+noise FF 00"};
    // A frame's CRC holds exactly when that of the frame with one more byte,
    // a zero, holds: the pairing decides.
    QTest::newRow("a reply followed by a zero byte")
        << false
        << QStringList {"good 01 03 00 00 00 01", "good 01 03 02 00 07", "+noise 00",
               "good 01 03 00 00 00 01", "good 01 03 02 00 07", "+noise 00"};
    QTest::newRow("a request whose CRC ends in a zero byte")
        << false
        << QStringList {
               "good 01 03 02 00 01 79", "+good 02 03 00 00 00 01", "good 01 03 02 00 01 79"};
    // The frame's length and CRC decide, not the pauses within it.
    QTest::newRow("a reply trickled byte by byte")
        << false
        << QStringList {"good 01 03 00 00 00 02", "~good 01 03 04 00 01 00 02",
               "good 01 03 00 00 00 02", "~cut 01 03 04 00", "good 01 03 00 00 00 02"};
    QTest::newRow("the longest frames")
        << false
        << QStringList {"good 01 03 00 00 00 7D",
               "good 01 03 FA " + QString("12 34 ").repeated(125).trimmed(),
               "good 01 10 00 00 00 7B F6 " + QString("AB CD ").repeated(123).trimmed(),
               "good 01 10 00 00 00 7B"};

    QTest::newRow("ASCII: every kind")
        << true
        << QStringList {"good 01 03 00 64 00 03", "good 01 03 06 04 D2 FB 2E 12 34",
               "noise 0D 0A 20", "crc 01 03 00 64 00 03", "cut 01 03 00 64 00 03",
               "~good 01 03 00 64 00 03", "good 01 06 00 01 00 05", "+good 01 06 00 01 00 05",
               "unknown 01 07", "good 01 83 02", "good 00 10 00 00 00 01 02 00 07"};
}

void tst_busFraming::recordedStreams()
{
    QFETCH(bool, ascii);
    QFETCH(QStringList, script);
    const QVector<Piece> stream = pieces(script, ascii);
    qint64 expectedNoise = 0;
    const QStringList expected = expectedFrames(stream, &expectedNoise);

    const std::pair<Feeding, const char *> feedings[] = {
        {Feeding::FrameByFrame, "one read per frame"},
        {Feeding::AdapterBatches, "16 ms adapter batches"},
        {Feeding::ByteByByte, "byte by byte"},
        {Feeding::UnevenChunks, "uneven chunks"},
    };
    for (const auto &feeding : feedings) {
        RecordingSink sink;
        std::unique_ptr<BusFramer> framer = ascii ? std::unique_ptr<BusFramer>(new AsciiFramer(
                                                CharacterUs, IncompleteFrameTimeoutUs, sink))
                                                  : rtuFramer(sink);
        qint64 noise = -1;
        const QStringList found = frameList(*framer, sink, reads(stream, feeding.first), &noise);
        if (found != expected) {
            qWarning() << feeding.second << "found:" << found;
            qWarning() << feeding.second << "expected:" << expected;
        }
        QVERIFY2(found == expected, feeding.second);
        QVERIFY2(noise == expectedNoise,
            qPrintable(
                QString("%1: noise %2, not %3").arg(feeding.second).arg(noise).arg(expectedNoise)));
    }
}

// A reply of one register is a byte shorter than a request of the same
// function: it comes out once the line has been silent for 3.5 characters.
void tst_busFraming::shortReplyWaitsForTheFrameSilence()
{
    RecordingSink sink;
    std::unique_ptr<BusFramer> framer = rtuFramer(sink);
    const QByteArray reply = WireFrame::fromHex(WireFrame::rtu("01 03 02 00 07"));
    const qint64 at = 5000000;
    framer->feed(reinterpret_cast<const quint8 *>(reply.constData()), reply.size(), at);
    QVERIFY(sink.take().isEmpty());
    QCOMPARE(framer->nextDecisionUs(), at + SilenceUs);
    QCOMPARE(framer->firstHeldUs(), at - (reply.size() - 1) * CharacterUs);
    framer->advance(at + SilenceUs - 1);
    QVERIFY(sink.take().isEmpty());
    framer->advance(at + SilenceUs);
    const QVector<BusFrame> frames = sink.take();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first().kind, BusFrame::Kind::Good);
    QCOMPARE(frames.first().wire, reply);
    QCOMPARE(int(frames.first().roles), int(BusFrame::Reply));
    QCOMPARE(framer->nextDecisionUs(), qint64(-1));
    QCOMPARE(framer->firstHeldUs(), qint64(-1));
}

// A frame that stops half-way is held through gaps an adapter could make
// and reported as truncated only after a longer silence.
void tst_busFraming::incompleteFrameEndsAfterLongSilence()
{
    RecordingSink sink;
    std::unique_ptr<BusFramer> framer = rtuFramer(sink);
    const QByteArray part = WireFrame::fromHex("01 03 06 00 01");
    const qint64 at = 5000000;
    framer->feed(reinterpret_cast<const quint8 *>(part.constData()), part.size(), at);
    const qint64 giveUp = at + IncompleteFrameTimeoutUs;
    QCOMPARE(framer->nextDecisionUs(), giveUp);
    framer->advance(at + 16000);
    QVERIFY(sink.take().isEmpty());
    framer->advance(giveUp);
    const QVector<BusFrame> frames = sink.take();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first().kind, BusFrame::Kind::Truncated);
    QCOMPARE(frames.first().wire, part);
    QCOMPARE(frames.first().adu, part);

    // ASCII: a second without a character.
    AsciiFramer ascii(CharacterUs, IncompleteFrameTimeoutUs, sink);
    const QByteArray text = ":0103";
    ascii.feed(reinterpret_cast<const quint8 *>(text.constData()), text.size(), at);
    ascii.advance(at + IncompleteFrameTimeoutUs - 1);
    QVERIFY(sink.take().isEmpty());
    ascii.advance(at + IncompleteFrameTimeoutUs);
    const QVector<BusFrame> asciiFrames = sink.take();
    QCOMPARE(asciiFrames.size(), 1);
    QCOMPARE(asciiFrames.first().kind, BusFrame::Kind::Truncated);
    QCOMPARE(asciiFrames.first().adu, WireFrame::fromHex("01 03"));
}

// Bytes without pause and without a frame in them are noise; the framer
// holds a bounded part of them and finds the frame that follows.
void tst_busFraming::floodOfNoiseStaysBounded()
{
    RecordingSink sink;
    std::unique_ptr<BusFramer> framer = rtuFramer(sink);
    const QByteArray flood(4096, char(0xFF));
    qint64 at = 1000000;
    for (int read = 0; read < 64; ++read) {
        at += flood.size() * CharacterUs;
        framer->feed(reinterpret_cast<const quint8 *>(flood.constData()), flood.size(), at);
        QVERIFY(sink.take().isEmpty());
        QVERIFY(framer->noiseBytes() >= (read + 1) * flood.size() - 512);
    }
    const QByteArray frame = WireFrame::fromHex(WireFrame::rtu("01 03 00 00 00 01"));
    at += frame.size() * CharacterUs;
    framer->feed(reinterpret_cast<const quint8 *>(frame.constData()), frame.size(), at);
    framer->finish();
    const QVector<BusFrame> frames = sink.take();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.first().wire, frame);
    QCOMPARE(framer->noiseBytes(), qint64(64 * flood.size()));
}

// Frames that came in one read get the times of their bytes on the line:
// the last byte of the read now, each earlier one a character before.
void tst_busFraming::framesCarryTheirBytesTimes()
{
    RecordingSink sink;
    std::unique_ptr<BusFramer> framer = rtuFramer(sink);
    const QByteArray request = WireFrame::fromHex(WireFrame::rtu("01 03 00 64 00 02"));
    const QByteArray reply = WireFrame::fromHex(WireFrame::rtu("01 03 04 00 01 00 02"));
    const qint64 at = 9000000;
    const QByteArray both = request + reply;
    framer->feed(reinterpret_cast<const quint8 *>(both.constData()), both.size(), at);
    framer->finish();
    const QVector<BusFrame> frames = sink.take();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(0).startUs, at - (both.size() - 1) * CharacterUs);
    QCOMPARE(frames.at(0).endUs, at - reply.size() * CharacterUs);
    QCOMPARE(frames.at(1).startUs, at - (reply.size() - 1) * CharacterUs);
    QCOMPARE(frames.at(1).endUs, at);
    QCOMPARE(int(frames.at(0).roles), int(BusFrame::Request));
    QCOMPARE(int(frames.at(1).roles), int(BusFrame::Reply));
}

QTEST_GUILESS_MAIN(tst_busFraming)
#include "tst_busframing.moc"
