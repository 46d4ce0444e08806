#include "registerbank.h"

#include "filesaving.h"
#include "regularfile.h"

#include <QTextStream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// True for a regular file that neither standard output nor standard error
// goes to: one that keeps a written image at its start and takes writes in
// place.
bool isImageFile(const QString &path)
{
    struct stat file;
    if (::stat(QFile::encodeName(path).constData(), &file) != 0 || !S_ISREG(file.st_mode))
        return false;
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream;
        if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev
            && stream.st_ino == file.st_ino)
            return false;
    }
    return true;
}

} // namespace

RegisterBank::RegisterBank()
    : holdingWords(Count, 0)
    , inputWords(Count, 0)
{ }

RegisterBank::~RegisterBank() = default;

bool RegisterBank::store(QVector<quint16> &target, int start, const QVector<quint16> &words)
{
    if (start < 0 || start + words.size() > Count)
        return false;
    std::copy(words.cbegin(), words.cend(), target.begin() + start);
    return true;
}

bool RegisterBank::setHolding(int start, const QVector<quint16> &words)
{
    return store(holdingWords, start, words);
}

bool RegisterBank::setInput(int start, const QVector<quint16> &words)
{
    return store(inputWords, start, words);
}

bool RegisterBank::loadFile(
    QVector<quint16> &target, int start, const QString &path, QString *error)
{
    // A FIFO would hold the start until something writes to it; a device
    // would give what it likes.
    QFile file;
    QString reason;
    if (!RegularFile::openForReading(&file, path, &reason)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, reason);
        return false;
    }
    // One byte more than the registers from start take tells a file too long
    // without reading it whole (it may be huge).
    const qint64 room = 2 * qint64(Count - start);
    const QByteArray bytes = file.read(room + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (bytes.size() > room) {
        *error = QStringLiteral("%1: more than %2 words from register %3 go beyond register 65535")
                     .arg(path)
                     .arg(room / 2)
                     .arg(start);
        return false;
    }
    if (bytes.size() % 2 != 0) {
        *error
            = QStringLiteral("%1: odd length %2, not a register image").arg(path).arg(bytes.size());
        return false;
    }
    QVector<quint16> words(bytes.size() / 2);
    for (int i = 0; i < words.size(); ++i) {
        words[i] = static_cast<quint16>(
            static_cast<quint8>(bytes.at(2 * i)) | (static_cast<quint8>(bytes.at(2 * i + 1)) << 8));
    }
    store(target, start, words);
    return true;
}

bool RegisterBank::loadHoldingFile(int start, const QString &path, QString *error)
{
    return loadFile(holdingWords, start, path, error);
}

bool RegisterBank::loadInputFile(int start, const QString &path, QString *error)
{
    return loadFile(inputWords, start, path, error);
}

QByteArray RegisterBank::imageBytes(const QVector<quint16> &words)
{
    QByteArray bytes;
    bytes.reserve(words.size() * 2);
    for (const quint16 word : words) {
        bytes.append(static_cast<char>(word & 0xFF));
        bytes.append(static_cast<char>(word >> 8));
    }
    return bytes;
}

bool RegisterBank::setHoldingDump(const QString &path, QString *error)
{
    QString reason;
    if (!FileSaving::save(path, imageBytes(holdingWords), &reason)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    if (!isImageFile(path)) {
        QTextStream(stderr) << "qelDevSim: changes of the holding registers are not written to "
                            << path << ": it is not a regular file of its own" << Qt::endl;
        return true;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file->errorString());
        return false;
    }
    holdingDump = std::move(file);
    return true;
}

bool RegisterBank::writeInputDump(const QString &path, QString *error) const
{
    QString reason;
    if (!FileSaving::save(path, imageBytes(inputWords), &reason)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

void RegisterBank::writeHolding(int start, const QVector<quint16> &words)
{
    if (!store(holdingWords, start, words))
        return;
    if (holdingDump) {
        // Only the changed words are rewritten in place.
        const QByteArray bytes = imageBytes(words);
        if (!holdingDump->seek(static_cast<qint64>(start) * 2)
            || holdingDump->write(bytes) != bytes.size() || !holdingDump->flush())
            QTextStream(stderr) << "qelDevSim: cannot write " << holdingDump->fileName() << ": "
                                << holdingDump->errorString() << Qt::endl;
    }
}

void RegisterBank::addCounter(bool input, int address, int step)
{
    (input ? inputCounters : holdingCounters).insert(address, step);
}

void RegisterBank::stepCounters(bool input, int start, int count)
{
    const QMap<int, int> &counters = input ? inputCounters : holdingCounters;
    for (auto it = counters.lowerBound(start); it != counters.cend() && it.key() < start + count;
         ++it) {
        const int address = it.key();
        if (input) {
            inputWords[address]
                = static_cast<quint16>((inputWords.at(address) + it.value()) & 0xFFFF);
        } else {
            const auto word
                = static_cast<quint16>((holdingWords.at(address) + it.value()) & 0xFFFF);
            writeHolding(address, {word});
        }
    }
}
