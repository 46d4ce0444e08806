#include "registerrequest.h"

#include "checks.h"
#include "numbers.h"
#include "optionpairs.h"
#include "registercommandline.h"
#include "registerimagefile.h"
#include "wordlist.h"

#include <QCoreApplication>

namespace {

struct OperationOption
{
    const char *name;
    RegisterRequest::Kind kind;
    RegisterRequest::Table table;
    ValueType type;
};

// The operation options in the order they are tried.
const OperationOption operationOptions[] = {
    {"--read_u16", RegisterRequest::TypedRead, RegisterRequest::Holding, ValueType::U16},
    {"--read_u32", RegisterRequest::TypedRead, RegisterRequest::Holding, ValueType::U32},
    {"--read_f32", RegisterRequest::TypedRead, RegisterRequest::Holding, ValueType::F32},
    {"--read_s16", RegisterRequest::TypedRead, RegisterRequest::Holding, ValueType::S16},
    {"--read_s32", RegisterRequest::TypedRead, RegisterRequest::Holding, ValueType::S32},
    {"--read", RegisterRequest::RangeRead, RegisterRequest::Holding, ValueType::U16},
    {"--readIn_u16", RegisterRequest::TypedRead, RegisterRequest::Input, ValueType::U16},
    {"--readIn_s16", RegisterRequest::TypedRead, RegisterRequest::Input, ValueType::S16},
    {"--readIn_u32", RegisterRequest::TypedRead, RegisterRequest::Input, ValueType::U32},
    {"--readIn_s32", RegisterRequest::TypedRead, RegisterRequest::Input, ValueType::S32},
    {"--readIn_f32", RegisterRequest::TypedRead, RegisterRequest::Input, ValueType::F32},
    {"--readIn", RegisterRequest::RangeRead, RegisterRequest::Input, ValueType::U16},
    {"--write", RegisterRequest::BlockWrite, RegisterRequest::Holding, ValueType::U16},
    {"--write_u16", RegisterRequest::TypedWrite, RegisterRequest::Holding, ValueType::U16},
    {"--write_s16", RegisterRequest::TypedWrite, RegisterRequest::Holding, ValueType::S16},
    {"--write_u32", RegisterRequest::TypedWrite, RegisterRequest::Holding, ValueType::U32},
    {"--write_s32", RegisterRequest::TypedWrite, RegisterRequest::Holding, ValueType::S32},
    {"--write_f32", RegisterRequest::TypedWrite, RegisterRequest::Holding, ValueType::F32},
};

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

    for (const OperationOption &option : operationOptions) {
        const QString name = QLatin1String(option.name);
        if (!options.has(name))
            continue;
        kind = option.kind;
        table = option.table;
        type = option.type;
        startText = options.value(name);
        break;
    }
    if (kind == Nothing)
        return;
    const bool startValid = registerValue(startText, &start);

    switch (kind) {
    case Nothing:
        break;
    case TypedRead:
        count = RegisterValue::registerCount(type);
        if (startValid)
            checkExtent(count, errors);
        break;
    case RangeRead:
        if (registerValue(options.value(QStringLiteral("--range")), &count) && startValid)
            checkExtent(count, errors);
        break;
    case BlockWrite:
        if (options.has(QStringLiteral("--load"))) {
            load = true;
            loadFile = options.value(QStringLiteral("--load"));
            if (options.has(QStringLiteral("--format")))
                format = options.value(QStringLiteral("--format"));
        } else if (WordList::fromText(options.value(QStringLiteral("--data")), &words, errors)
            && startValid) {
            checkExtent(words.size(), errors);
        }
        break;
    case TypedWrite:
        if (RegisterValue::toWords(type, options.value(QStringLiteral("--data")), &words, errors)
            && startValid)
            checkExtent(words.size(), errors);
        break;
    }
}

bool RegisterRequest::loadWords(QString *message)
{
    if (kind != BlockWrite || !load)
        return true;
    if (!RegisterImageFile::load(loadFile, format, &words, message))
        return false;
    QString lines;
    checkExtent(words.size(), &lines);
    if (lines.isEmpty())
        return true;
    *message = RegisterCommandLine::invalidParametersMessage(lines);
    words.clear();
    return false;
}

// The registers from start on must all lie below 65536: the start register
// then reads as out of range for this many registers. A word list longer than
// the register space fits nowhere and is named by its length.
void RegisterRequest::checkExtent(int registers, QString *errors) const
{
    registers = qMax(registers, 1);
    if (start + registers - 1 <= 65535)
        return;
    if (registers > 65536) {
        if (errors)
            *errors += "&nbsp;" + QString::number(registers) + "&nbsp;"
                + QCoreApplication::translate("qelDrvModbus", "words do not fit in 65536 registers")
                + "<br>";
        return;
    }
    Checks::integerRangeCheck(startText, 0, 65536 - registers, errors);
}
