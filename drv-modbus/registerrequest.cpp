#include "registerrequest.h"

#include "checks.h"
#include "numbers.h"
#include "optionpairs.h"
#include "registercommandline.h"
#include "registerimagefile.h"
#include "registertext.h"
#include "wordlist.h"

#include <QCoreApplication>

namespace {

// A register address or count that passed the checks: a whole number 0..65535.
bool registerValue(const QString &text, int *value)
{
    if (!Numbers::isIntegerInRange(text, 0, 65535))
        return false;
    *value = int(Numbers::toReal(text));
    return true;
}

} // namespace

RegisterRequest::RegisterRequest(const OptionPairs &options, QString *errors)
{
    display = options.value(QStringLiteral("--display"));
    if (options.has(QStringLiteral("--fdelay")))
        pause = Numbers::toWord(options.value(QStringLiteral("--fdelay")));
    save = options.has(QStringLiteral("--save"));
    saveFile = options.value(QStringLiteral("--save"));

    const QVector<RegisterCommandLine::Operation> operations = RegisterCommandLine::operations();
    for (const RegisterCommandLine::Operation &operation : operations) {
        const QString name = QLatin1String(operation.option);
        if (!options.has(name))
            continue;
        kind = operation.kind;
        table = operation.table;
        type = operation.type;
        startText = options.value(name);
        break;
    }
    checkOrder(options, errors);
    if (kind == Nothing)
        return;
    const bool startValid = registerValue(startText, &start);
    const QString data = options.value(QStringLiteral("--data"));

    switch (kind) {
    case Nothing:
        break;
    case TypedRead:
        count = RegisterValue::registerCount(type);
        if (startValid)
            checkExtent(count, errors);
        break;
    case RangeRead:
    case TextRead:
        if (registerValue(options.value(QStringLiteral("--range")), &count) && startValid)
            checkExtent(count, errors);
        break;
    case BlockWrite:
        if (options.has(QStringLiteral("--load"))) {
            load = true;
            loadFile = options.value(QStringLiteral("--load"));
            if (options.has(QStringLiteral("--format")))
                format = options.value(QStringLiteral("--format"));
        } else if (WordList::fromText(data, &words, errors, isBitTable() ? 1 : 0xFFFF)
            && startValid) {
            checkExtent(words.size(), errors);
        }
        break;
    case TypedWrite:
        if (RegisterValue::toWords(type, data, &words, errors, order) && startValid)
            checkExtent(words.size(), errors);
        break;
    case SingleWrite: {
        quint16 word = 0;
        if (RegisterValue::toSingleWord(data, &word, errors))
            words = {word};
        break;
    }
    case TextWrite:
        if (registerValue(options.value(QStringLiteral("--range")), &count)
            && RegisterText::toWords(data, count, &words, errors) && startValid)
            checkExtent(count, errors);
        break;
    case DeviceIdRead:
        deviceIdCode = RegisterCommandLine::deviceIdCodes().indexOf(startText) + 1;
        break;
    }
}

// "--order" is given only for a 32- or 64-bit value.
void RegisterRequest::checkOrder(const OptionPairs &options, QString *errors)
{
    const QString name = QStringLiteral("--order");
    if (!options.has(name))
        return;
    if (!ByteOrders::fromName(options.value(name), &order))
        return; // the command-line checks have named it
    const bool ordered
        = (kind == TypedRead || kind == TypedWrite) && RegisterValue::hasByteOrder(type);
    if (!ordered && errors)
        *errors += "&nbsp;" + name + "&nbsp;"
            + QCoreApplication::translate("qelDrvModbus",
                "applies to 32- and 64-bit values only (U32, S32, F32, U64, S64, F64)")
            + "<br>";
}

bool RegisterRequest::loadWords(QString *message)
{
    if (kind != BlockWrite || !load)
        return true;
    if (!RegisterImageFile::load(loadFile, format, &words, message))
        return false;
    QString lines;
    checkExtent(words.size(), &lines);
    if (isBitTable())
        WordList::checkBits(words, &lines);
    if (lines.isEmpty())
        return true;
    *message = Checks::invalidParametersMessage(lines);
    words.clear();
    return false;
}

// A block write takes at most 65535 registers, whichever way its words come
// (the command line, a text or a binary image): a longer list is named by its
// length. Otherwise the registers from start on must all lie below 65536: the
// start register then reads as out of range for this many registers.
void RegisterRequest::checkExtent(int registers, QString *errors) const
{
    registers = qMax(registers, 1);
    if (registers > 65535) {
        if (errors)
            *errors += "&nbsp;" + QString::number(registers) + "&nbsp;"
                + QCoreApplication::translate(
                    "qelDrvModbus", "words do not fit in the 65535 registers of a block write")
                + "<br>";
        return;
    }
    if (start + registers - 1 <= 65535)
        return;
    Checks::integerRangeCheck(startText, 0, 65536 - registers, errors);
}
