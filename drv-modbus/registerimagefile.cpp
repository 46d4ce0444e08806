#include "registerimagefile.h"

#include "filesaving.h"
#include "regularfile.h"
#include "wordlist.h"

#include "translationcontext.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr TranslationContext tr("RegisterImageFile");

QString message(const char *head, const QString &fileName, const QString &lines)
{
    return "<font color=\"red\">" + tr(head) + "&nbsp;\"" + fileName + "\":<br>" + lines
        + "</font>";
}

QString line(const QString &text)
{
    return "&nbsp;" + text + "<br>";
}

// The largest images a block write can take: 65535 registers, as two bytes
// each, or as text in the widest form the driver saves ("0xFFFF," per
// value) with a byte-order mark and a line end.
constexpr qint64 MaxBinaryBytes = 65535 * 2;
constexpr qint64 MaxTextBytes = 3 + 65535 * 7 + 2;

// Bytes a character takes in UTF-8; a surrogate pair counts 2 + 2.
int utf8Length(QChar c)
{
    if (c.unicode() < 0x80)
        return 1;
    if (c.unicode() < 0x800 || c.isSurrogate())
        return 2;
    return 3;
}

// Text that no editor writes into a list of numbers: control characters other
// than tabs and line ends, or bytes that are not UTF-8 (a binary image loaded
// with a text format). Refused whole, naming the first such byte (counted
// from 1 in the file), rather than read value by value.
QString textProblem(const QString &text, int offset)
{
    qint64 position = offset + 1;
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (c == QChar::ReplacementCharacter)
            return tr("not UTF-8 text at byte %1").arg(position);
        if ((code < 0x20 && code != '\t' && code != '\n' && code != '\r') || code == 0x7F)
            return tr("control character 0x%1 at byte %2")
                .arg(QString::number(code, 16).rightJustified(2, QLatin1Char('0')).toUpper())
                .arg(position);
        position += utf8Length(c);
    }
    return QString();
}

// Reads at most limit bytes of an open regular file. However large the file,
// or however it grows while it is read, no more than limit + 1 bytes are
// held: a longer file sets *tooLong. False with *error on a read failure.
bool readBounded(QFile *file, qint64 limit, QByteArray *content, bool *tooLong, QString *error)
{
    *tooLong = false;
    if (file->size() > limit) {
        *tooLong = true;
        return true;
    }
    content->resize(int(limit + 1));
    qint64 total = 0;
    while (total <= limit) {
        const qint64 got = file->read(content->data() + total, limit + 1 - total);
        if (got < 0) {
            *error = file->errorString();
            return false;
        }
        if (got == 0)
            break;
        total += got;
    }
    content->resize(int(total));
    *tooLong = total > limit;
    return true;
}

} // namespace

namespace RegisterImageFile {

bool save(
    const QString &fileName, const QVector<quint16> &words, const QString &display, QString *error)
{
    const char *const head = "Unable to save data to";
    if (fileName.isEmpty()) {
        *error = message(head, fileName, line(tr("no file name given")));
        return false;
    }
    const QString directory = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(directory)) {
        *error = message(
            head, fileName, line(tr("cannot create the directory") + "&nbsp;" + directory));
        return false;
    }

    QByteArray content;
    if (display == QLatin1String("DEC") || display == QLatin1String("HEX"))
        content = WordList::toText(words, display == QLatin1String("DEC")).toUtf8();
    else
        content = WordList::toBinary(words);

    // A regular file is replaced only once the new image is written whole;
    // a device or FIFO is written into.
    QString reason;
    if (!FileSaving::save(fileName, content, &reason)) {
        *error = message(head, fileName, line(reason));
        return false;
    }
    return true;
}

bool load(const QString &fileName, const QString &format, QVector<quint16> *words, QString *error)
{
    const char *const head = "Unable to load data from";
    words->clear();
    if (fileName.isEmpty()) {
        *error = message(head, fileName, line(tr("no file name given")));
        return false;
    }
    QFile file;
    QString reason;
    if (!RegularFile::openForReading(&file, fileName, &reason)) {
        *error = message(head, fileName, line(reason));
        return false;
    }
    // The size is looked at before anything is read, so a file of any size
    // is refused at once with bounded memory.
    const bool binary = format == QLatin1String("BIN");
    const qint64 limit = binary ? MaxBinaryBytes : MaxTextBytes;
    QByteArray content;
    bool tooLong = false;
    QString readError;
    if (!readBounded(&file, limit, &content, &tooLong, &readError)) {
        *error = message(head, fileName, line(readError));
        return false;
    }
    if (tooLong) {
        const QString size = tr("%1 bytes").arg(qMax(file.size(), limit + 1));
        *error = message(head, fileName,
            line(tr("too large: %1, at most %2 bytes for 65535 registers").arg(size).arg(limit)));
        return false;
    }

    if (binary) {
        if (!WordList::fromBinary(content, words)) {
            *error = message(head, fileName,
                line(tr("odd length in bytes:") + "&nbsp;" + QString::number(content.size())));
            return false;
        }
        return true;
    }

    // Decoded with its length: the QByteArray overload would stop at a NUL.
    // A byte-order mark of editors that write one is skipped.
    const int offset = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const QString text = QString::fromUtf8(content.constData() + offset, content.size() - offset);
    const QString problem = textProblem(text, offset);
    if (!problem.isEmpty()) {
        *error = message(head, fileName, line(problem));
        return false;
    }
    QString lines;
    if (!WordList::fromText(text, words, &lines)) {
        *error = message(head, fileName, lines);
        return false;
    }
    return true;
}

} // namespace RegisterImageFile
