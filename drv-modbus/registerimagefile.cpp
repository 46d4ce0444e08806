#include "registerimagefile.h"

#include "filesaving.h"
#include "wordlist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RegisterImageFile", text);
}

QString message(const char *head, const QString &fileName, const QString &lines)
{
    return "<font color=\"red\">" + tr(head) + "&nbsp;\"" + fileName + "\":<br>" + lines
        + "</font>";
}

QString line(const QString &text)
{
    return "&nbsp;" + text + "<br>";
}

// Text that no editor writes into a list of numbers: control characters other
// than tabs and line ends, or bytes that are not UTF-8 (a binary image loaded
// with a text format). Refused whole rather than echoed value by value.
bool isText(const QString &text)
{
    for (const QChar c : text) {
        if (c == QChar::ReplacementCharacter
            || (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n')
                && c != QLatin1Char('\r')))
            return false;
    }
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
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = message(head, fileName, line(file.errorString()));
        return false;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = message(head, fileName, line(file.errorString()));
        return false;
    }

    if (format == QLatin1String("BIN")) {
        if (!WordList::fromBinary(content, words)) {
            *error = message(head, fileName,
                line(tr("odd length in bytes:") + "&nbsp;" + QString::number(content.size())));
            return false;
        }
        return true;
    }

    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF))) // byte-order mark of editors that write one
        text.remove(0, 1);
    if (!isText(text)) {
        *error = message(head, fileName, line(tr("not a text file")));
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
