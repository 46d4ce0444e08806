#include "wordlist.h"

#include "registervalue.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

constexpr int MaxErrorLines = 10;

void appendHex(QString *text, quint16 word)
{
    static const char digits[] = "0123456789ABCDEF";
    const QChar chars[6] = {QLatin1Char('0'), QLatin1Char('x'), QLatin1Char(digits[word >> 12]),
        QLatin1Char(digits[(word >> 8) & 0xF]), QLatin1Char(digits[(word >> 4) & 0xF]),
        QLatin1Char(digits[word & 0xF])};
    text->append(chars, 6);
}

void appendDecimal(QString *text, quint16 word)
{
    QChar chars[5];
    int first = 5;
    do {
        chars[--first] = QLatin1Char(char('0' + word % 10));
        word /= 10;
    } while (word);
    text->append(chars + first, 5 - first);
}

} // namespace

namespace WordList {

bool fromText(const QString &text, QVector<quint16> *words, QString *errors, quint16 largest)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,\\[\\]]+"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    words->clear();
    words->reserve(parts.size());
    int failed = 0;
    for (const QString &part : parts) {
        quint16 word = 0;
        if (RegisterValue::toWord(part, &word, failed < MaxErrorLines ? errors : nullptr, largest))
            words->append(word);
        else
            ++failed;
    }
    if (failed > MaxErrorLines && errors) {
        *errors += "&nbsp;"
            + QCoreApplication::translate("WordList", "%1 more values that do not read")
                  .arg(failed - MaxErrorLines)
            + "<br>";
    }
    if (failed)
        words->clear();
    return failed == 0;
}

bool checkBits(const QVector<quint16> &words, QString *errors)
{
    int failed = 0;
    for (int i = 0; i < words.size(); ++i) {
        if (words.at(i) <= 1)
            continue;
        if (failed++ < MaxErrorLines && errors)
            *errors += "&nbsp;"
                + QCoreApplication::translate("WordList", "value %1 at position %2 is not 0 or 1")
                      .arg(words.at(i))
                      .arg(i + 1)
                + "<br>";
    }
    if (failed > MaxErrorLines && errors) {
        *errors += "&nbsp;"
            + QCoreApplication::translate("WordList", "%1 more values that are not 0 or 1")
                  .arg(failed - MaxErrorLines)
            + "<br>";
    }
    return failed == 0;
}

QString hexText(quint16 word)
{
    QString text;
    appendHex(&text, word);
    return text;
}

QString decimalText(quint16 word)
{
    return QString::number(word);
}

QString toText(const QVector<quint16> &words, bool decimal)
{
    // Built in place: a full range has 65535 values.
    QString text;
    text.reserve(words.size() * 7);
    for (int i = 0; i < words.size(); ++i) {
        if (i)
            text += QLatin1Char(',');
        if (decimal)
            appendDecimal(&text, words.at(i));
        else
            appendHex(&text, words.at(i));
    }
    return text;
}

QByteArray toBinary(const QVector<quint16> &words)
{
    QByteArray bytes;
    bytes.reserve(words.size() * 2);
    for (const quint16 word : words) {
        bytes.append(char(word & 0xFF));
        bytes.append(char(word >> 8));
    }
    return bytes;
}

bool fromBinary(const QByteArray &bytes, QVector<quint16> *words)
{
    words->clear();
    if (bytes.size() % 2)
        return false;
    words->reserve(bytes.size() / 2);
    for (int i = 0; i < bytes.size(); i += 2)
        words->append(quint16(quint8(bytes.at(i)) | (quint8(bytes.at(i + 1)) << 8)));
    return true;
}

} // namespace WordList
