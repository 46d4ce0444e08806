#include "macroanswer.h"

#include "translationcontext.h"

namespace {

constexpr TranslationContext tr("Cmm_Write_Macro");

QString decimal(quint16 word)
{
    return QString::number(word);
}

QString hex4(quint16 word)
{
    return QStringLiteral("%1").arg(word, 4, 16, QLatin1Char('0'));
}

// Text held in words first..first+count-1, two Latin-1 characters per word,
// the first in the low byte. Zero bytes are skipped, not taken as the end.
QString latin1Text(const QVector<quint16> &words, int first, int count)
{
    QString text;
    for (int i = first; i < first + count; ++i) {
        for (const int byte : {words.at(i) & 0xFF, words.at(i) >> 8}) {
            if (byte != 0)
                text += QChar(byte);
        }
    }
    return text;
}

QString profileHeader(const QVector<quint16> &words)
{
    const quint16 version = words.at(2);
    if (version != 9 && version != 10)
        return tr("unknown ebi version = ") + decimal(version);
    return tr("Name: ") + latin1Text(words, 13, 16) + "<br>" + tr("Desc: ")
        + latin1Text(words, 29, 16) + "<br>" + tr("Model: ") + latin1Text(words, 5, 8) + "<br>"
        + tr("Version: ") + decimal(version) + "<br>" + tr("Size: U16 x ") + decimal(words.at(3))
        + "<br>" + tr("Blocknet: ") + decimal(words.at(45)) + "<br>" + tr("Program CRC: ")
        + decimal(words.at(46)) + "<br>" + tr("Header CRC: ") + decimal(words.at(47)) + "<br>";
}

QString serialNumber(const QVector<quint16> &words)
{
    return decimal(words.at(0));
}

QString deviceInfo(const QVector<quint16> &words)
{
    return tr("Profile: ") + decimal(words.at(0)) + "<br>" + tr("Sets of settings: ")
        + decimal(words.at(1)) + "<br>" + tr("State of operation: ") + decimal(words.at(2))
        + "<br>";
}

// Words 0 and 1 as eight hexadecimal digits.
QString twoHexWords(const QVector<quint16> &words)
{
    return hex4(words.at(0)) + hex4(words.at(1));
}

struct AnswerRow
{
    const char *macroName;
    int requiredWords;
    QString (*decode)(const QVector<quint16> &words);
};

const AnswerRow answerTable[] = {
    {"FD_MACRO_GET_DEVICE_INFO", 3, deviceInfo},
    {"FD_MACRO_GET_PROFILE_HEADER", 48, profileHeader},
    {"FD_MACRO_GET_SN", 1, serialNumber},
    {"FD_MACRO_GET_DEVICE_KEY", 2, twoHexWords},
    {"FD_MACRO_GET_EVENTS_COUNT", 2, twoHexWords},
};

} // namespace

namespace MacroAnswer {

QString text(const QString &macroName, const QVector<quint16> &words)
{
    for (const AnswerRow &row : answerTable) {
        if (macroName != QLatin1String(row.macroName))
            continue;
        if (words.size() < row.requiredWords)
            return tr("error: returned regs count < required");
        return row.decode(words);
    }
    return tr("unknown ???");
}

} // namespace MacroAnswer
