#include "faultplan.h"

#include <QStringList>

namespace {

struct KindName
{
    const char *name;
    FaultKind kind;
    bool needsValue;
};

const KindName kindNames[] = {
    {"exception", FaultKind::Exception, true},
    {"delay", FaultKind::Delay, true},
    {"stall", FaultKind::Stall, true},
    {"partial", FaultKind::Partial, false},
    {"bad-crc", FaultKind::BadCrc, false},
    {"other-address", FaultKind::OtherAddress, true},
    {"bad-transaction", FaultKind::BadTransaction, false},
    {"bad-protocol", FaultKind::BadProtocol, false},
    {"silent", FaultKind::Silent, false},
    {"drop", FaultKind::Drop, false},
    {"length", FaultKind::Length, false},
    {"bad-code-complement", FaultKind::BadCodeComplement, false},
    {"bad-spec-complement", FaultKind::BadSpecComplement, false},
    {"bad-count-complement", FaultKind::BadCountComplement, false},
    {"trickle", FaultKind::Trickle, true},
    {"bad-echo", FaultKind::BadEcho, false},
    {"more-follows", FaultKind::MoreFollows, false},
    {"close", FaultKind::Close, false},
};

// Decimal, "0x" hexadecimal, or negative decimal.
bool readInteger(const QString &text, int *value)
{
    bool ok = false;
    const qint64 number = text.startsWith(QLatin1String("0x"))
        ? static_cast<qint64>(text.mid(2).toULongLong(&ok, 16))
        : text.toLongLong(&ok, 10);
    if (!ok || number < -1000000000 || number > 1000000000)
        return false;
    *value = static_cast<int>(number);
    return true;
}

} // namespace

std::optional<FaultRule> FaultPlan::parseRule(const QString &text, QString *error)
{
    const QStringList parts = text.split(QLatin1Char(','));
    FaultRule rule;
    const QString head = parts.first();
    const int equals = head.indexOf(QLatin1Char('='));
    const QString kindName = equals < 0 ? head : head.left(equals);
    const KindName *found = nullptr;
    for (const KindName &candidate : kindNames) {
        if (kindName == QLatin1String(candidate.name))
            found = &candidate;
    }
    if (!found) {
        *error = QStringLiteral("unknown fault \"%1\"").arg(kindName);
        return std::nullopt;
    }
    rule.kind = found->kind;
    if (equals >= 0) {
        rule.hasValue = true;
        if (!readInteger(head.mid(equals + 1), &rule.value)) {
            *error = QStringLiteral("fault \"%1\": \"%2\" is not a number")
                         .arg(kindName, head.mid(equals + 1));
            return std::nullopt;
        }
    } else if (found->needsValue) {
        *error = QStringLiteral("fault \"%1\" needs a value (%1=N)").arg(kindName);
        return std::nullopt;
    }
    if (rule.kind == FaultKind::Exception && (rule.value < 0 || rule.value > 255)) {
        *error = QStringLiteral("fault \"exception\": code must be 0 to 255");
        return std::nullopt;
    }
    if ((rule.kind == FaultKind::Delay || rule.kind == FaultKind::Stall
            || rule.kind == FaultKind::Trickle)
        && rule.value < 0) {
        *error = QStringLiteral("fault \"%1\": time must not be negative").arg(kindName);
        return std::nullopt;
    }
    if (rule.kind == FaultKind::OtherAddress && (rule.value < 0 || rule.value > 255)) {
        *error = QStringLiteral("fault \"other-address\": address must be 0 to 255");
        return std::nullopt;
    }
    if ((rule.kind == FaultKind::BadTransaction || rule.kind == FaultKind::BadProtocol)
        && rule.hasValue && (rule.value < 0 || rule.value > 0xFFFF)) {
        *error = QStringLiteral("fault \"%1\": identifier must be 0 to 65535").arg(kindName);
        return std::nullopt;
    }
    if (rule.kind == FaultKind::Partial && rule.hasValue && rule.value < 0) {
        *error = QStringLiteral("fault \"partial\": byte count must not be negative");
        return std::nullopt;
    }
    for (int i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const int eq = part.indexOf(QLatin1Char('='));
        const QString key = part.left(eq);
        int value = 0;
        if (eq < 0 || !readInteger(part.mid(eq + 1), &value)) {
            *error = QStringLiteral("fault \"%1\": bad scope \"%2\"").arg(kindName, part);
            return std::nullopt;
        }
        if (key == QLatin1String("request") && value >= 1) {
            rule.request = value;
        } else if (key == QLatin1String("every") && value >= 1) {
            rule.every = value;
        } else if (key == QLatin1String("function") && value >= 0 && value <= 255) {
            rule.function = value;
        } else if (key == QLatin1String("address") && value >= 0 && value <= 255) {
            rule.address = value;
        } else {
            *error = QStringLiteral("fault \"%1\": bad scope \"%2\"").arg(kindName, part);
            return std::nullopt;
        }
    }
    return rule;
}

ActiveFaults FaultPlan::select(int requestNumber, int function, int address) const
{
    ActiveFaults faults;
    for (const FaultRule &rule : rules) {
        if (rule.request != 0 && rule.request != requestNumber)
            continue;
        if (rule.every != 0 && requestNumber % rule.every != 0)
            continue;
        if (rule.function >= 0 && rule.function != function)
            continue;
        if (rule.address >= 0 && rule.address != address)
            continue;
        switch (rule.kind) {
        case FaultKind::Exception:
            faults.exceptionCode = rule.value;
            break;
        case FaultKind::Delay:
            faults.delayMs += rule.value;
            break;
        case FaultKind::Stall:
            faults.stallMs = rule.value;
            break;
        case FaultKind::Partial:
            faults.partialBytes = rule.hasValue ? rule.value : -1;
            break;
        case FaultKind::BadCrc:
            faults.badCrc = true;
            break;
        case FaultKind::OtherAddress:
            faults.otherAddress = rule.value;
            break;
        case FaultKind::BadTransaction:
            faults.transaction = rule.hasValue ? rule.value : -1;
            break;
        case FaultKind::BadProtocol:
            faults.protocol = rule.hasValue ? rule.value : 1;
            break;
        case FaultKind::Silent:
            faults.silent = true;
            break;
        case FaultKind::Drop:
            faults.drop = true;
            break;
        case FaultKind::Length:
            faults.lengthDelta += rule.hasValue ? rule.value : 2;
            break;
        case FaultKind::BadCodeComplement:
            faults.badCodeComplement = true;
            break;
        case FaultKind::BadSpecComplement:
            faults.badSpecComplement = true;
            break;
        case FaultKind::BadCountComplement:
            faults.badCountComplement = true;
            break;
        case FaultKind::Trickle:
            faults.trickleMs = rule.value;
            break;
        case FaultKind::BadEcho:
            faults.badEcho = true;
            break;
        case FaultKind::MoreFollows:
            faults.moreFollows = true;
            break;
        case FaultKind::Close:
            faults.close = true;
            break;
        }
    }
    return faults;
}
