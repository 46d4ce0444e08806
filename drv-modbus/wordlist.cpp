#include "wordlist.h"

#include "registervalue.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {
constexpr int MaxErrorLines = 10;
}

namespace WordList {

bool fromText(const QString &text, QVector<quint16> *words, QString *errors)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,\\[\\]]+"));
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    words->clear();
    words->reserve(parts.size());
    int failed = 0;
    for (const QString &part : parts) {
        quint16 word = 0;
        if (RegisterValue::toWord(part, &word, failed < MaxErrorLines ? errors : nullptr))
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

QString hexText(quint16 word)
{
    return "0x" + QString::number(word, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString decimalText(quint16 word)
{
    return QString::number(word);
}

QString toText(const QVector<quint16> &words, bool decimal)
{
    QString text;
    text.reserve(words.size() * 7);
    for (int i = 0; i < words.size(); ++i) {
        if (i)
            text += QLatin1Char(',');
        text += decimal ? decimalText(words.at(i)) : hexText(words.at(i));
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
