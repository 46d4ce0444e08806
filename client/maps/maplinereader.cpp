#include "maplinereader.h"

#include "readformat.h"
#include "registertypes.h"

#include <QHash>

using namespace mapColumns;

namespace {

QString kindOf(const QString &text)
{
    static const QHash<QString, QString> kinds = [] {
        QHash<QString, QString> map;
        const auto add = [&map](const QString &kind, const QStringList &names) {
            for (const QString &name : names)
                map.insert(name, kind);
        };
        add(registerTypes::holding,
            {"holding", "holding register", "holding registers", "hr", "4x", "4",
                "rejestr podtrzymujacy", "rejestr przechowujacy", "rejestr wyjsciowy"});
        add(registerTypes::input,
            {"input", "input register", "input registers", "ir", "3x", "3", "rejestr wejsciowy",
                "rejestry wejsciowe"});
        add(registerTypes::coil, {"coil", "coils", "co", "0x", "0", "cewka", "cewki"});
        add(registerTypes::discrete,
            {"discrete", "discrete input", "discrete inputs", "di", "1x", "1", "wejscie dyskretne",
                "wejscia dyskretne", "wejscie binarne"});
        return map;
    }();
    return kinds.value(folded(text));
}

QString typeOf(const QString &text)
{
    static const QHash<QString, QString> synonyms {{"UINT16", "U16"}, {"WORD", "U16"},
        {"INT16", "S16"}, {"INT", "S16"}, {"UINT32", "U32"}, {"DWORD", "U32"}, {"INT32", "S32"},
        {"DINT", "S32"}, {"FLOAT", "F32"}, {"FLOAT32", "F32"}, {"REAL", "F32"}, {"UINT64", "U64"},
        {"INT64", "S64"}, {"DOUBLE", "F64"}, {"FLOAT64", "F64"}, {"LREAL", "F64"},
        {"STRING", "STR"}, {"TEXT", "STR"}, {"BOOL", "BIT"}, {"BOOLEAN", "BIT"}};
    const QString upper = text.trimmed().toUpper();
    return synonyms.value(upper, upper);
}

enum Direction { Reads = 1, Writes = 2 };

int accessOf(const QString &text)
{
    static const QHash<QString, int> access {{"", Reads}, {"r", Reads}, {"ro", Reads},
        {"read", Reads}, {"odczyt", Reads}, {"o", Reads}, {"w", Writes}, {"wo", Writes},
        {"write", Writes}, {"zapis", Writes}, {"z", Writes}, {"rw", Reads | Writes},
        {"r/w", Reads | Writes}, {"read/write", Reads | Writes}, {"odczyt/zapis", Reads | Writes},
        {"o/z", Reads | Writes}};
    return access.value(folded(text), 0);
}

const QStringList formats {QStringLiteral("F_X"), QStringLiteral("F_X_X"), QStringLiteral("F_X_XX"),
    QStringLiteral("F_X_XXX"), QStringLiteral("F_X_XXXX")};

constexpr int MaxTextRegisters = 120;

} // namespace

mapLineReader::mapLineReader(
    const QVector<int> &cells, const QStringList &headers, const mapOptions &options)
    : cells(cells)
    , headers(headers)
    , options(options)
{ }

QString mapLineReader::cell(const mapLine &line, Column column) const
{
    const int index = cells.value(column, -1);
    return index < 0 ? QString() : line.cells.value(index).trimmed();
}

QString mapLineReader::header(Column column) const
{
    const int index = cells.value(column, -1);
    return index < 0 ? nameOf(column) : headers.value(index).trimmed();
}

int mapLineReader::span(const QString &type, const QString &length)
{
    if (type == QLatin1String("U32") || type == QLatin1String("S32")
        || type == QLatin1String("F32"))
        return 2;
    if (type == QLatin1String("U64") || type == QLatin1String("S64")
        || type == QLatin1String("F64"))
        return 4;
    if (type == registerTypes::text)
        return qMax(1, length.toInt());
    return 1;
}

std::optional<QString> mapLineReader::decimal(
    const mapLine &line, Column column, std::vector<mapProblem> *problems) const
{
    QString text = cell(line, column);
    const bool point = text.contains(QLatin1Char('.'));
    const bool comma = text.contains(QLatin1Char(','));
    if ((options.decimal == mapOptions::Decimal::Point && comma)
        || (options.decimal == mapOptions::Decimal::Comma && point) || (point && comma)) {
        problems->push_back({line.number, header(column),
            tr("%1 does not have the chosen decimal mark").arg(text)});
        return std::nullopt;
    }
    return text.replace(QLatin1Char(','), QLatin1Char('.'));
}

std::optional<mapEntry> mapLineReader::read(
    const mapLine &line, std::vector<mapProblem> *problems) const
{
    const size_t before = problems->size();
    const auto problem = [&](Column column, const QString &reason) {
        problems->push_back({line.number, header(column), reason});
    };

    // Kind and address; a 1-based address names its kind.
    QString kind;
    const QString kindText = cell(line, Kind);
    if (!kindText.isEmpty()) {
        kind = kindOf(kindText);
        if (kind.isEmpty())
            problem(Kind, tr("%1 is not a kind of register").arg(kindText));
    }
    const QString addressText = cell(line, Address);
    int address = -1;
    if (addressText.isEmpty()) {
        problem(Address, tr("no address"));
    } else if (options.addresses == mapOptions::Addresses::OneBased) {
        bool digits = !addressText.isEmpty();
        for (const QChar c : addressText)
            digits = digits && c.isDigit() && c.unicode() < 128;
        const int first = digits ? addressText.at(0).digitValue() : -1;
        const QString addressKind = first == 4 ? registerTypes::holding
            : first == 3                       ? registerTypes::input
            : first == 0                       ? registerTypes::coil
            : first == 1                       ? registerTypes::discrete
                                               : QString();
        const int number = addressText.mid(1).toInt();
        const int largest = addressText.size() == 6 ? 65536 : 9999;
        if (addressKind.isEmpty() || (addressText.size() != 5 && addressText.size() != 6)
            || number < 1 || number > largest) {
            problem(Address,
                tr("%1 is not a 1-based address (40001 to 49999 or 400001 to 465536, 3xxxx, "
                   "0xxxx, 1xxxx)")
                    .arg(addressText));
        } else if (!kind.isEmpty() && kind != addressKind) {
            problem(Kind,
                tr("%1 does not match the address %2 (%3)")
                    .arg(kindText, addressText, registerTypes::kindLabel(addressKind)));
        } else {
            kind = addressKind;
            address = number - 1;
        }
    } else {
        bool ok = false;
        const qlonglong number = addressText.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
            ? addressText.mid(2).toLongLong(&ok, 16)
            : addressText.toLongLong(&ok, 10);
        if (!ok)
            problem(Address, tr("%1 is not an address").arg(addressText));
        else if (number < 0 || number > 65535)
            problem(Address, tr("%1 is outside 0 to 65535").arg(addressText));
        else
            address = int(number);
    }
    if (kind.isEmpty() && kindText.isEmpty())
        kind = registerTypes::holding;

    // Type, order, length.
    const QString typeText = cell(line, Type);
    QString type = typeText.isEmpty()
        ? (registerTypes::isBitKind(kind) ? registerTypes::bit : QStringLiteral("U16"))
        : typeOf(typeText);
    if (!kind.isEmpty() && !registerTypes::types(kind).contains(type))
        problem(Type,
            registerTypes::types(QStringLiteral("holding")).contains(type)
                    || type == registerTypes::bit
                ? tr("%1 does not fit the kind %2").arg(typeText, registerTypes::kindLabel(kind))
                : tr("%1 is not a data type").arg(typeText));
    QString order = registerTypes::defaultOrder;
    const QString orderText = cell(line, Order).toUpper();
    if (registerTypes::hasOrder(type) && !orderText.isEmpty()) {
        if (registerTypes::orders().contains(orderText))
            order = orderText;
        else
            problem(Order, tr("%1 is not one of ABCD, BADC, CDAB, DCBA").arg(cell(line, Order)));
    }
    QString length;
    if (type == registerTypes::text) {
        bool ok = false;
        const int registers = cell(line, Length).toInt(&ok);
        if (!ok || registers < 1 || registers > MaxTextRegisters)
            problem(Length,
                tr("a text needs its registers, 1 to %1, not \"%2\"")
                    .arg(MaxTextRegisters)
                    .arg(cell(line, Length)));
        else
            length = QString::number(registers);
    }
    if (address >= 0 && problems->size() == before && address + span(type, length) - 1 > 65535)
        problem(Address,
            tr("%1 %2 at %3 ends beyond register 65535")
                .arg(type, length, addressText)
                .simplified());

    // Format and scaling.
    const QString format = cell(line, Format).toUpper();
    if (!format.isEmpty() && !formats.contains(format))
        problem(Format, tr("%1 is not one of F_X, F_X_X, F_X_XX, F_X_XXX, F_X_XXXX").arg(format));
    else if (!format.isEmpty() && !registerTypes::isInteger(type))
        problem(Format, tr("a format applies to whole-number types only, not %1").arg(type));
    engineeringScale scaling;
    scaling.scale = decimal(line, Scale, problems).value_or(QString());
    scaling.offset = decimal(line, Offset, problems).value_or(QString());
    scaling.unit = cell(line, Unit);
    bool scalingOk = true;
    if (!scaling.isEmpty() && !engineeringScale::isScalable(type)) {
        problem(!scaling.scale.isEmpty()    ? Scale
                : !scaling.offset.isEmpty() ? Offset
                                            : Unit,
            scaling.problem(type));
        scalingOk = false;
    } else {
        const QString scaleProblem = engineeringScale {scaling.scale, {}, {}}.problem(type);
        const QString offsetProblem = engineeringScale {{}, scaling.offset, {}}.problem(type);
        if (!scaleProblem.isEmpty())
            problem(Scale, scaleProblem);
        if (!offsetProblem.isEmpty())
            problem(Offset, offsetProblem);
        scalingOk = scaleProblem.isEmpty() && offsetProblem.isEmpty();
    }

    // Access, and what a write sends.
    const int access = accessOf(cell(line, Access));
    if (access == 0)
        problem(Access, tr("%1 is not one of R, W, RW").arg(cell(line, Access)));
    const bool writes = access & Writes;
    if (writes && !kind.isEmpty() && !registerTypes::writeKinds().contains(kind))
        problem(Access, tr("%1 cannot be written").arg(registerTypes::kindLabel(kind)));
    QString value = cell(line, Value);
    if (writes && type != registerTypes::text) {
        value = decimal(line, Value, problems).value_or(QString());
        if (value.isEmpty())
            value = QStringLiteral("0");
        engineeringScale check = scaling;
        if (!check.converts())
            check.scale = QStringLiteral("1");
        QString error;
        check.rawValue(value, type == registerTypes::bit ? QStringLiteral("U16") : type, &error);
        if (error.isEmpty() && type == registerTypes::bit && value != QLatin1String("0")
            && value != QLatin1String("1"))
            error = tr("a coil takes 0 or 1, not %1").arg(value);
        if (!error.isEmpty() && scalingOk)
            problem(Value, error);
    } else if (writes && value.toUtf8().size() > 2 * length.toInt()) {
        problem(Value, tr("the text is longer than its %1 registers").arg(length));
    }
    const QString function = cell(line, Function);
    const bool single = function == QLatin1String("6");
    if (!function.isEmpty() && function != QLatin1String("16") && !single)
        problem(Function, tr("%1 is not function 6 or 16").arg(function));
    else if (single
        && (!writes || kind != registerTypes::holding
            || (type != QLatin1String("U16") && type != QLatin1String("S16"))))
        problem(Function, tr("function 6 writes a single U16 or S16 holding register"));

    if (problems->size() != before)
        return std::nullopt;
    mapEntry entry;
    entry.line = line.number;
    // The fields reads and writes share.
    const auto place = [&](auto *request) {
        request->desc = cell(line, Name);
        request->kind = kind;
        request->type = type;
        request->addr = QString::number(address);
        request->order = order;
        request->length = length;
        request->scaling = scaling;
    };
    if (access & Reads) {
        readValues read;
        place(&read);
        read.format = format;
        entry.read = read;
    }
    if (writes) {
        writeValues write;
        place(&write);
        write.value = value;
        write.single = single;
        entry.write = write;
    }
    return entry;
}
