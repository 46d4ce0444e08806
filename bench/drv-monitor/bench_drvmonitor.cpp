// Figures of the bus monitor, each beside what it is measured against:
//  - decoding: a recorded RTU stream of 1,000,000 frames (reads and writes of
//    every size, single writes, coil reads, exceptions, macro reads) cut,
//    paired and decoded in bytes per second of the processor time it takes
//    (on a shared machine the wall clock would count other programs too),
//    against the fastest RS-485 line (115200 baud, 11,520 bytes/s); then the
//    same with every transaction's line and CSV rows written out as text;
//    then the same for ASCII;
//  - delay: qelDrvMonitor listening on a pseudo-terminal, the time from a
//    reply's last byte written to the line to its transaction line read from
//    the program's output, against 20 ms.
//
//   bench_drvmonitor [frames] [transactions timed]   (default 1000000, 200)

#include "asciiframer.h"
#include "engine/asciiframe.h"
#include "engine/crc16.h"
#include "engine/serialtiming.h"
#include "rtuframer.h"
#include "transactiontext.h"
#include "transactiontracker.h"
#include "wallclock.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <pty.h>
#include <random>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double LineBytesPerSecond = 115200.0 / 10; // 8N1: ten bits a byte
constexpr double DecodingTarget = 1000; // times the line
constexpr double DelayTargetMs = 20;

QByteArray rtu(QByteArray adu)
{
    const uint16_t crc
        = Modbus::crc16(reinterpret_cast<const uint8_t *>(adu.constData()), adu.size());
    adu.append(char(crc & 0xFF));
    adu.append(char(crc >> 8));
    return adu;
}

QByteArray ascii(const QByteArray &adu)
{
    QByteArray text(Modbus::Ascii::frameLength(adu.size()), '\0');
    Modbus::Ascii::encode(
        reinterpret_cast<const uint8_t *>(adu.constData()), adu.size(), text.data());
    return text;
}

void word(QByteArray *bytes, int value)
{
    bytes->append(char(value >> 8));
    bytes->append(char(value & 0xFF));
}

// One request and its reply, address and PDU each.
std::pair<QByteArray, QByteArray> exchange(std::mt19937 &random)
{
    const int kind = int(random() % 100);
    const char address = char(1 + random() % 247);
    QByteArray request(1, address);
    QByteArray reply(1, address);
    if (kind < 60) { // register reads
        const char function = kind < 40 ? 3 : 4;
        const int count = 1 + int(random() % 125);
        request.append(function);
        word(&request, int(random() % 60000));
        word(&request, count);
        reply.append(function);
        reply.append(char(2 * count));
        for (int i = 0; i < count; ++i)
            word(&reply, int(random() % 65536));
    } else if (kind < 75) { // block writes
        const int count = 1 + int(random() % 123);
        const int start = 1 + int(random() % 60000);
        request.append(char(16));
        word(&request, start);
        word(&request, count);
        request.append(char(2 * count));
        for (int i = 0; i < count; ++i)
            word(&request, int(random() % 65536));
        reply.append(char(16));
        word(&reply, start);
        word(&reply, count);
    } else if (kind < 85) { // single writes, echoed
        request.append(char(6));
        word(&request, int(random() % 65536));
        word(&request, int(random() % 65536));
        reply = request;
    } else if (kind < 90) { // coils
        const int count = 1 + int(random() % 2000);
        request.append(char(1));
        word(&request, int(random() % 60000));
        word(&request, count);
        reply.append(char(1));
        reply.append(char((count + 7) / 8));
        for (int i = 0; i < (count + 7) / 8; ++i)
            reply.append(char(random()));
    } else if (kind < 95) { // exceptions
        request.append(char(3));
        word(&request, int(random() % 65536));
        word(&request, 1 + int(random() % 125));
        reply.append(char(0x83));
        reply.append(char(1 + random() % 4));
    } else { // the serial number, a macro read
        const QByteArray payload = QByteArray::fromHex("00E2FF1D0100FEFF");
        request.append(char(0x41));
        word(&request, 0);
        word(&request, 4);
        request.append(payload);
        reply.append(char(0x41));
        reply.append(char(10));
        reply.append(QByteArray::fromHex("00E2FF1D0101"));
        word(&reply, int(random() % 65536));
        reply.append(QByteArray::fromHex("FEFE"));
    }
    return {request, reply};
}

QByteArray recordedStream(int frames, bool asAscii)
{
    std::mt19937 random(20240507);
    QByteArray stream;
    stream.reserve(frames * (asAscii ? 140 : 70));
    for (int i = 0; i < frames / 2; ++i) {
        const auto pair = exchange(random);
        stream += asAscii ? ascii(pair.first) + ascii(pair.second)
                          : rtu(pair.first) + rtu(pair.second);
    }
    return stream;
}

double processorSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

struct Decoded
{
    double seconds = 0;
    qint64 transactions = 0;
    qint64 answered = 0;
    qint64 noise = 0;
    qint64 textBytes = 0;
};

// Feeds the stream in reads of 4 KiB, timed as the line would bring them.
Decoded decode(const QByteArray &stream, bool asAscii, bool withText)
{
    const qint64 characterUs = Modbus::characterMicroseconds(115200, 8, 'N', 1);
    const qint64 silenceUs = Modbus::frameSilenceMicroseconds(115200, 8, 'N', 1);
    TransactionTracker tracker(1000000);
    std::unique_ptr<BusFramer> framer;
    if (asAscii)
        framer = std::make_unique<AsciiFramer>(characterUs, IncompleteFrameTimeoutUs, tracker);
    else
        framer = std::make_unique<RtuFramer>(
            characterUs, silenceUs, IncompleteFrameTimeoutUs, tracker);
    const WallClock clock;
    Decoded result;
    const auto collect = [&] {
        const QVector<BusTransaction> list = tracker.takeTransactions();
        for (const BusTransaction &transaction : list) {
            ++result.transactions;
            if (transaction.outcome == BusTransaction::Outcome::Answered)
                ++result.answered;
            if (withText) {
                const QDateTime time = clock.at(transaction.request.startUs);
                result.textBytes += TransactionText::line(transaction, time, false).size();
                for (const QString &row : TransactionText::csvRows(transaction, time, time))
                    result.textBytes += row.size();
            }
        }
    };
    constexpr int ReadSize = 4096;
    qint64 us = 1000000;
    const double start = processorSeconds();
    for (int at = 0; at < stream.size(); at += ReadSize) {
        const int count = std::min(ReadSize, int(stream.size()) - at);
        us += count * characterUs;
        framer->feed(reinterpret_cast<const quint8 *>(stream.constData()) + at, count, us);
        collect();
    }
    framer->finish();
    tracker.finish();
    collect();
    result.seconds = processorSeconds() - start;
    result.noise = framer->noiseBytes();
    return result;
}

void reportDecoding(const char *what, const QByteArray &stream, const Decoded &decoded, int frames)
{
    const double rate = stream.size() / decoded.seconds;
    std::printf("%-44s %9.1f MB/s   line %.1f kB/s   ratio %8.0fx  (target %.0fx)\n", what,
        rate / 1e6, LineBytesPerSecond / 1e3, rate / LineBytesPerSecond, DecodingTarget);
    std::printf(
        "%-44s %d frames, %.1f MB in %.2f s of processor time: %lld transactions, %lld answered, "
        "%lld noise bytes\n",
        "", frames, stream.size() / 1e6, decoded.seconds,
        static_cast<long long>(decoded.transactions), static_cast<long long>(decoded.answered),
        static_cast<long long>(decoded.noise));
}

qint64 nowUs()
{
    return WallClock::steadyNowUs();
}

void writeAll(int fd, const QByteArray &bytes)
{
    for (int at = 0; at < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (written > 0)
            at += int(written);
    }
}

// The time from each reply's last byte on the line to its line on the
// monitor's standard output.
bool measureDelay(int transactions)
{
    int master = -1;
    int slave = -1;
    char name[128];
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return false;
    QProcess monitor;
    monitor.start(QDir(QStringLiteral(QEL_BIN_DIR)).filePath("qelDrvMonitor"),
        {"--port", QString::fromLocal8Bit(name), "--reply-window", "5000"});
    if (!monitor.waitForStarted(10000))
        return false;
    QByteArray out;
    while (!out.contains("Listening on")) {
        if (!monitor.waitForReadyRead(10000))
            return false;
        out += monitor.readAllStandardOutput();
    }
    out.clear();

    std::mt19937 random(7);
    std::vector<double> delays;
    for (int i = 0; i < transactions; ++i) {
        const int count = 1 + int(random() % 125);
        QByteArray request("\x01\x03", 2);
        word(&request, i);
        word(&request, count);
        QByteArray reply("\x01\x03", 2);
        reply.append(char(2 * count));
        for (int r = 0; r < count; ++r)
            word(&reply, i + r);
        writeAll(master, rtu(request));
        ::usleep(3000);
        writeAll(master, rtu(reply));
        const qint64 written = nowUs();
        const QByteArray expected = "start " + QByteArray::number(i) + " count ";
        while (!out.contains(expected)) {
            if (!monitor.waitForReadyRead(10000))
                return false;
            out += monitor.readAllStandardOutput();
        }
        delays.push_back((nowUs() - written) / 1000.0);
        out.clear();
        ::usleep(10000);
    }
    monitor.terminate();
    monitor.waitForFinished(10000);
    ::close(slave);
    ::close(master);

    std::sort(delays.begin(), delays.end());
    const double median = delays[delays.size() / 2];
    std::printf("%-44s median %.2f ms   target %.0f ms   target/median %.0fx  (90%% %.2f ms, max "
                "%.2f ms, %d replies)\n",
        "delay from a reply's last byte to its line", median, DelayTargetMs, DelayTargetMs / median,
        delays[delays.size() * 9 / 10], delays.back(), transactions);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int frames = argc > 1 ? QString(argv[1]).toInt() : 1000000;
    const int timed = argc > 2 ? QString(argv[2]).toInt() : 200;

    const QByteArray rtuStream = recordedStream(frames, false);
    reportDecoding("RTU: cut, paired, decoded", rtuStream, decode(rtuStream, false, false), frames);
    reportDecoding("RTU: and each line and CSV row as text", rtuStream,
        decode(rtuStream, false, true), frames);
    const QByteArray asciiStream = recordedStream(frames, true);
    reportDecoding(
        "ASCII: cut, paired, decoded", asciiStream, decode(asciiStream, true, false), frames);
    if (!measureDelay(timed)) {
        std::printf("delay: qelDrvMonitor did not run as expected\n");
        return 1;
    }
    return 0;
}
