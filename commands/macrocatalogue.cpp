#include "macrocatalogue.h"

#include <QDateTime>

namespace {

// An unsigned decimal number of up to 32 bits: digits only, no sign, no prefix.
bool readNumber(const QString &token, quint32 *value)
{
    if (token.isEmpty())
        return false;
    quint64 number = 0;
    for (const QChar c : token) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        number = number * 10 + quint64(c.unicode() - '0');
        if (number > 0xFFFFFFFFu)
            return false;
    }
    *value = quint32(number);
    return true;
}

// A number sent as a 16-bit word: one that does not fit is refused, not cut.
bool readWord(const QString &token, quint16 *value)
{
    quint32 number = 0;
    if (!readNumber(token, &number) || number > 0xFFFFu)
        return false;
    *value = quint16(number);
    return true;
}

// Split at every single blank; two blanks in a row, a leading or a trailing
// blank give an empty token, which is not a number.
QStringList tokensOf(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

bool readWords(const QStringList &tokens, int first, int count, QVector<quint16> *words)
{
    words->clear();
    for (int i = first; i < first + count; ++i) {
        quint16 word = 0;
        if (!readWord(tokens.at(i), &word))
            return false;
        words->append(word);
    }
    return true;
}

// Typed builders: each takes the decoded values of one kind of macro and sets
// the parameter words (and, for the free macro, code and specification).

void buildWords(const QVector<quint16> &words, MacroRequest *request)
{
    request->params = words;
}

// The user, then the first four password characters as two words, the first
// character of each pair in the low byte; Latin-1 codes, 0 for any other
// character. A password shorter than four characters sends two zero words.
void buildLogin(quint16 user, const QString &password, MacroRequest *request)
{
    quint16 passwordWords[2] = {0, 0};
    if (password.size() >= 4) {
        for (int i = 0; i < 4; ++i) {
            const ushort unicode = password.at(i).unicode();
            const quint16 latin1 = unicode <= 0xFF ? unicode : 0;
            passwordWords[i / 2] |= quint16(latin1 << (i % 2 == 0 ? 0 : 8));
        }
    }
    request->params = {user, passwordWords[0], passwordWords[1]};
}

// The year as a word, month to millisecond each as a byte in a word of its
// own (the device's format), then the options word.
void buildDateTime(quint16 year, const quint8 (&fields)[7], quint16 options, MacroRequest *request)
{
    request->params = {year};
    for (const quint8 field : fields)
        request->params.append(field);
    request->params.append(options);
}

// The 32-bit value as its low then its high word, then the word.
void buildFlashWrite(quint32 value, quint16 word, MacroRequest *request)
{
    request->params = {quint16(value & 0xFFFFu), quint16(value >> 16), word};
}

void buildFreeMacro(
    quint16 code, quint8 specification, const QVector<quint16> &words, MacroRequest *request)
{
    request->code = code;
    request->specification = specification;
    request->params = words;
}

// Text rules: each splits and checks the text, then calls its builder.

template<int Count> bool numbersRule(const QString &text, MacroRequest *request)
{
    const QStringList tokens = tokensOf(text);
    QVector<quint16> words;
    if (tokens.size() != Count || !readWords(tokens, 0, Count, &words))
        return false;
    buildWords(words, request);
    return true;
}

// Any text, none sent.
bool ignoredRule(const QString &, MacroRequest *request)
{
    buildWords({}, request);
    return true;
}

// The text is not split: the whole of it is one number.
bool wholeTextRule(const QString &text, MacroRequest *request)
{
    quint16 word = 0;
    if (!readWord(text, &word))
        return false;
    buildWords({word}, request);
    return true;
}

bool loginRule(const QString &text, MacroRequest *request)
{
    const QStringList tokens = tokensOf(text);
    quint16 user = 0;
    if (tokens.size() != 2 || !readWord(tokens.at(0), &user))
        return false;
    buildLogin(user, tokens.at(1), request);
    return true;
}

// Empty text takes the computer's local date and time, with day of week 1
// and options 0; its millisecond goes as its low 8 bits, as it always has.
// Typed fields from month to millisecond must each fit their byte: one that
// does not is refused rather than sent as another value.
bool dateTimeRule(const QString &text, MacroRequest *request)
{
    if (text.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTime();
        const QDate date = now.date();
        const QTime time = now.time();
        const quint8 fields[7] = {quint8(date.month()), quint8(date.day()), 1, quint8(time.hour()),
            quint8(time.minute()), quint8(time.second()), quint8(time.msec() & 0xFF)};
        buildDateTime(quint16(date.year()), fields, 0, request);
        return true;
    }
    const QStringList tokens = tokensOf(text);
    if (tokens.size() != 9)
        return false;
    quint16 year = 0;
    quint16 options = 0;
    quint8 fields[7] = {};
    if (!readWord(tokens.at(0), &year) || !readWord(tokens.at(8), &options))
        return false;
    for (int i = 0; i < 7; ++i) {
        quint32 field = 0;
        if (!readNumber(tokens.at(1 + i), &field) || field > 0xFFu)
            return false;
        fields[i] = quint8(field);
    }
    buildDateTime(year, fields, options, request);
    return true;
}

bool flashWriteRule(const QString &text, MacroRequest *request)
{
    const QStringList tokens = tokensOf(text);
    quint32 value = 0;
    quint16 word = 0;
    if (tokens.size() != 2 || !readNumber(tokens.at(0), &value) || !readWord(tokens.at(1), &word))
        return false;
    buildFlashWrite(value, word, request);
    return true;
}

// code specification count p1 ... pcount; tokens after the parameters are
// ignored. The specification is one byte on the wire and must fit it.
bool freeMacroRule(const QString &text, MacroRequest *request)
{
    const QStringList tokens = tokensOf(text);
    if (tokens.size() < 3)
        return false;
    quint16 code = 0;
    quint32 specification = 0;
    quint32 count = 0;
    if (!readWord(tokens.at(0), &code) || !readNumber(tokens.at(1), &specification)
        || specification > 0xFFu || !readNumber(tokens.at(2), &count))
        return false;
    if (quint64(tokens.size()) < quint64(count) + 3)
        return false;
    QVector<quint16> words;
    if (!readWords(tokens, 3, int(count), &words))
        return false;
    buildFreeMacro(code, quint8(specification), words, request);
    return true;
}

using TextRule = bool (*)(const QString &text, MacroRequest *request);

// A line break, a tab or any other control character (C0, DEL, C1, the
// Unicode line and paragraph separators). No macro takes one; a text that
// holds one was not meant for the macro (a line break can hide the rest of
// the text from whoever reads it), so it is refused whatever the macro's rule.
bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

struct MacroRow
{
    const char *name;
    quint16 code;
    quint8 specification;
    TextRule rule;
    bool returnsData;
};

const MacroRow macroTable[] = {
    {"FD_MACRO_CLEAR_COUNTERS", 63, 1, numbersRule<1>, false},
    {"FD_MACRO_CLEAR_SIGNALS", 47, 1, numbersRule<2>, false},
    {"FD_MACRO_CONTROL_SWITCH", 49, 1, numbersRule<3>, false},
    {"FD_MACRO_LOGIN", 44, 1, loginRule, false},
    {"FD_MACRO_LOGOUT", 45, 1, ignoredRule, false},
    {"FD_MACRO_READ_SETTINGS", 32, 1, numbersRule<1>, false},
    {"FD_MACRO_READ_SETTINGS_02", 32, 2, numbersRule<2>, false},
    {"FD_MACRO_RUN_BOOTLOADER", 10, 1, ignoredRule, false},
    {"FD_MACRO_SAVE_PROFILE_2", 11, 2, numbersRule<5>, false},
    {"FD_MACRO_SET_ACTIVE_PROFILE", 36, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_CONTROL_LR", 34, 2, numbersRule<1>, false},
    {"FD_MACRO_SET_DAR_COMMAND", 65, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_DATE_TIME", 30, 1, dateTimeRule, false},
    {"FD_MACRO_SET_MEMORY_READ_TYPE", 58, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_PAGE_MEMORY_READ", 57, 1, wholeTextRule, false},
    {"FD_MACRO_SET_PAGE_MEMORY_WRITE", 56, 1, wholeTextRule, false},
    {"FD_MACRO_SET_PASSWORD_TIME", 39, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_ACTIVE_SETofSETTINGS", 55, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_PORT_TIMEOUT", 42, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_IP_ADDRESS", 59, 1, numbersRule<5>, false},
    {"FD_MACRO_SET_IP_MASK", 60, 1, numbersRule<5>, false},
    {"FD_MACRO_SET_IP_GATEWAY", 61, 1, numbersRule<5>, false},
    {"FD_MACRO_SET_USER_PRIVILEGES", 50, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_PORT_ADDRESS", 40, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_PORT_SETTINGS", 41, 1, numbersRule<4>, false},
    {"FD_MACRO_SET_PORT_PROTOCOL", 64, 1, numbersRule<2>, false},
    {"FD_MACRO_SET_SETTINGS", 31, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_SETTINGS_02", 31, 2, numbersRule<2>, false},
    {"FD_MACRO_SET_SN", 1, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_USER_COMMANDS", 53, 1, numbersRule<1>, false},
    {"FD_MACRO_SET_WORK_MODE", 2, 1, wholeTextRule, false},
    {"FD_MACRO_SYSTEM_RESET", 241, 1, ignoredRule, false},
    {"FD_MACRO_WRITE_FLASH", 8, 1, flashWriteRule, false},
    {"FD_MACRO_SET_IEC101_PARAMETERS", 78, 1, numbersRule<5>, false},
    {"FD_MACRO_SET", 0, 0, freeMacroRule, false},
    {"FD_MACRO_GET_DEVICE_INFO", 225, 1, ignoredRule, true},
    {"FD_MACRO_GET_PROFILE_HEADER", 224, 1, numbersRule<1>, true},
    {"FD_MACRO_GET_SN", 226, 1, ignoredRule, true},
    {"FD_MACRO_GET_DEVICE_KEY", 220, 1, ignoredRule, true},
    {"FD_MACRO_GET_EVENTS_COUNT", 202, 1, ignoredRule, true},
};

} // namespace

namespace MacroCatalogue {

bool parse(const QString &name, const QString &text, MacroRequest *request)
{
    if (hasControlCharacter(text))
        return false;
    for (const MacroRow &row : macroTable) {
        if (name != QLatin1String(row.name))
            continue;
        MacroRequest parsed;
        parsed.code = row.code;
        parsed.specification = row.specification;
        parsed.returnsData = row.returnsData;
        if (!row.rule(text, &parsed))
            return false;
        *request = parsed;
        return true;
    }
    return false;
}

QString nameOf(quint16 code, quint8 specification)
{
    for (const MacroRow &row : macroTable) {
        if (row.rule != freeMacroRule && row.code == code && row.specification == specification)
            return QLatin1String(row.name);
    }
    return QString();
}

QStringList names()
{
    QStringList list;
    for (const MacroRow &row : macroTable)
        list.append(QLatin1String(row.name));
    return list;
}

} // namespace MacroCatalogue
