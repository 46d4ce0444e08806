#include "transactiontext.h"

#include "engine/modbus.h"
#include "functioncodes.h"
#include "macroanswer.h"
#include "macrocatalogue.h"
#include "reportprinter.h"
#include "translationcontext.h"

namespace TransactionText {

namespace {

constexpr TranslationContext tr("qelDrvMonitor");

// Latin-1 text of a device with its control characters as \xHH.
QString printable(const QByteArray &latin1)
{
    QString text;
    text.reserve(latin1.size());
    for (const char c : latin1) {
        const uchar byte = uchar(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            text += QStringLiteral("\\x")
                + QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            text += QChar(byte);
    }
    return text;
}

QString joined(const QVector<quint16> &values, int limit = -1)
{
    const int count = limit >= 0 ? qMin(limit, values.size()) : values.size();
    QString text;
    text.reserve(count * 6);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += QLatin1Char(' ');
        text += QString::number(values.at(i));
    }
    return text;
}

QString macroName(const FrameContent &content)
{
    return MacroCatalogue::nameOf(quint16(content.macroCode), quint8(content.macroSpecification));
}

// "FD_MACRO_LOGIN code 44 spec 1", the name left out when unknown.
QString macroText(const FrameContent &content)
{
    const QString name = macroName(content);
    return (name.isEmpty() ? QString() : name + QLatin1Char(' ')) + tr("code") + QLatin1Char(' ')
        + QString::number(content.macroCode) + QLatin1Char(' ') + tr("spec") + QLatin1Char(' ')
        + QString::number(content.macroSpecification);
}

QString macroRequestText(const FrameContent &content)
{
    QString text = macroText(content);
    if (!content.values.isEmpty())
        text += QLatin1Char(' ') + tr("params") + QLatin1Char(' ') + joined(content.values);
    return text;
}

// The answer of a data-returning macro as the macro driver decodes it, on
// one line; the words of any other.
QString macroAnswer(const FrameContent &content)
{
    const QString name = macroName(content);
    if (!name.startsWith(QLatin1String("FD_MACRO_GET_")))
        return joined(content.values);
    QString text
        = ReportPrinter::toPlainText(MacroAnswer::text(name, content.values), QStringLiteral("; "));
    while (text.endsWith(QLatin1String("; ")))
        text.chop(2);
    return text;
}

QString startAndCount(const FrameContent &content)
{
    return tr("start") + QLatin1Char(' ') + QString::number(content.start) + QLatin1Char(' ')
        + tr("count") + QLatin1Char(' ') + QString::number(content.count);
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString objectsText(const FrameContent &content)
{
    QStringList objects;
    for (const FrameContent::DeviceObject &object : content.objects)
        objects += QString::number(object.id) + QStringLiteral("=\"") + printable(object.value)
            + QLatin1Char('"');
    return objects.join(QLatin1Char(' '));
}

// What a request asks, after the function's name.
QString asked(const FrameContent &request)
{
    switch (request.kind) {
    case FrameContent::Kind::MacroWrite:
    case FrameContent::Kind::MacroRead:
        return macroRequestText(request);
    case FrameContent::Kind::DeviceIdentification:
        return tr("code") + QLatin1Char(' ') + QString::number(request.objectCode)
            + QLatin1Char(' ') + tr("object") + QLatin1Char(' ')
            + QString::number(request.objectId);
    default:
        break;
    }
    switch (request.function) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        return startAndCount(request);
    case FunctionCode::WriteSingleCoil:
        return tr("coil") + QLatin1Char(' ') + QString::number(request.start) + QLatin1Char(' ')
            + tr("value") + QLatin1Char(' ') + joined(request.values);
    case FunctionCode::WriteSingleRegister:
        return tr("register") + QLatin1Char(' ') + QString::number(request.start) + QLatin1Char(' ')
            + tr("value") + QLatin1Char(' ') + joined(request.values);
    case FunctionCode::WriteMultipleCoils:
    case FunctionCode::WriteMultipleRegisters:
        return startAndCount(request) + QLatin1Char(' ') + tr("values") + QLatin1Char(' ')
            + joined(request.values);
    default:
        return QString();
    }
}

// What a good reply says; request, when known, bounds the bits of a read.
// Empty for the reply of a write, which only confirms it.
QString answered(const FrameContent &reply, const FrameContent *request)
{
    QString text;
    switch (reply.kind) {
    case FrameContent::Kind::Exception:
        return tr("exception") + QLatin1Char(' ') + QString::number(reply.exceptionCode)
            + QStringLiteral(", ") + exceptionName(reply.exceptionCode);
    case FrameContent::Kind::MacroRead:
        text = macroAnswer(reply);
        break;
    case FrameContent::Kind::Identification:
        text = tr("version") + QLatin1Char(' ') + QString::number(reply.identificationVersion)
            + QLatin1Char(' ') + printable(reply.text);
        break;
    case FrameContent::Kind::ServerId:
        text = hexBytes(reply.text);
        break;
    case FrameContent::Kind::DeviceIdentification:
        text = objectsText(reply);
        break;
    default:
        switch (reply.function) {
        case FunctionCode::ReadCoils:
        case FunctionCode::ReadDiscreteInputs:
            text = joined(reply.values, request ? request->count : -1);
            break;
        case FunctionCode::ReadHoldingRegisters:
        case FunctionCode::ReadInputRegisters:
            text = joined(reply.values);
            break;
        default:
            break;
        }
    }
    return text;
}

QString milliseconds(qint64 us)
{
    return QString::number((us + 500) / 1000);
}

QString csvField(const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"'))
        && !field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvRow(const QStringList &fields)
{
    QString row;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += QLatin1Char(',');
        row += csvField(fields.at(i));
    }
    return row;
}

// The name of a transaction's function: the request's, unless a standard
// identification reply tells the standard function.
QString transactionFunction(const BusTransaction &transaction)
{
    if (transaction.outcome == BusTransaction::Outcome::Answered
        && transaction.replyContent.kind == FrameContent::Kind::ServerId)
        return functionName(transaction.replyContent);
    return functionName(transaction.requestContent);
}

QString requestValues(const FrameContent &request)
{
    switch (request.kind) {
    case FrameContent::Kind::MacroWrite:
    case FrameContent::Kind::MacroRead:
    case FrameContent::Kind::DeviceIdentification:
        return asked(request);
    default:
        return joined(request.values);
    }
}

// What the line shows of a good reply: its values, or OK for a write, and
// whether its fields disagree.
QString replyText(const FrameContent &reply, const FrameContent *request)
{
    QString text = answered(reply, request);
    if (text.isEmpty())
        text = tr("OK");
    if (reply.malformed)
        text += QStringLiteral(", ") + tr("malformed frame");
    return text;
}

// The status of a good reply: its exception, a malformed frame, or OK.
QString replyStatus(const FrameContent &reply)
{
    if (reply.kind == FrameContent::Kind::Exception)
        return exceptionName(reply.exceptionCode);
    return reply.malformed ? tr("malformed frame") : tr("OK");
}

QString number(int value)
{
    return value >= 0 ? QString::number(value) : QString();
}

} // namespace

QString functionName(const FrameContent &content)
{
    switch (content.kind) {
    case FrameContent::Kind::MacroWrite:
        return tr("Macro");
    case FrameContent::Kind::ServerId:
        return tr("Report Server ID");
    default:
        break;
    }
    switch (content.function) {
    case FunctionCode::ReadCoils:
        return tr("Read Coils");
    case FunctionCode::ReadDiscreteInputs:
        return tr("Read Discrete Inputs");
    case FunctionCode::ReadHoldingRegisters:
        return tr("Read Holding Registers");
    case FunctionCode::ReadInputRegisters:
        return tr("Read Input Registers");
    case FunctionCode::WriteSingleCoil:
        return tr("Write Single Coil");
    case FunctionCode::WriteSingleRegister:
        return tr("Write Single Register");
    case FunctionCode::WriteMultipleCoils:
        return tr("Write Multiple Coils");
    case FunctionCode::WriteMultipleRegisters:
        return tr("Write Multiple Registers");
    case FunctionCode::Identification:
        return tr("Identification");
    case FunctionCode::Encapsulated:
        return tr("Read Device Identification");
    case FunctionCode::MacroRead:
        return tr("Macro Read");
    default:
        return tr("Function")
            + QStringLiteral(" 0x%1").arg(content.function, 2, 16, QLatin1Char('0'));
    }
}

QString exceptionName(int code)
{
    if ((code >= 1 && code <= 8) || code == 10 || code == 11)
        return QString::fromLatin1(Modbus::errorText(Modbus::ErrorBase + code));
    return QString::fromLatin1(Modbus::errorText(Modbus::InvalidExceptionCode));
}

QString failureName(const BusFrame &frame)
{
    switch (frame.kind) {
    case BusFrame::Kind::ChecksumError:
        return frame.framing == BusFrame::Framing::Ascii ? tr("LRC error") : tr("CRC error");
    case BusFrame::Kind::Truncated:
        return tr("truncated frame");
    case BusFrame::Kind::Unknown:
        return tr("unknown frame");
    case BusFrame::Kind::Good:
        break;
    }
    return QString();
}

QString outcomeName(BusTransaction::Outcome outcome)
{
    switch (outcome) {
    case BusTransaction::Outcome::NoReply:
        return tr("no reply");
    case BusTransaction::Outcome::Broadcast:
        return tr("broadcast");
    case BusTransaction::Outcome::Unfinished:
        return tr("listening ended");
    default:
        return QString();
    }
}

QString hex(const BusFrame &frame)
{
    if (frame.framing == BusFrame::Framing::Rtu)
        return hexBytes(frame.wire);
    QByteArray text = frame.wire;
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    return printable(text);
}

QString lineTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString csvTime(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString line(const BusTransaction &transaction, const QDateTime &time, bool withHex)
{
    QString text = lineTime(time) + QLatin1Char(' ');
    const BusFrame &reply = transaction.reply;
    if (transaction.outcome == BusTransaction::Outcome::BadFrame)
        return text + failureName(reply) + QStringLiteral(": ") + hex(reply);

    const FrameContent &first
        = transaction.hasRequest ? transaction.requestContent : transaction.replyContent;
    text += tr("address") + QLatin1Char(' ') + QString::number(first.address) + QLatin1Char(' ');
    if (!transaction.hasRequest) {
        text += functionName(transaction.replyContent) + QStringLiteral(": ")
            + replyText(transaction.replyContent, nullptr) + QStringLiteral(" (")
            + tr("request not seen") + QLatin1Char(')');
    } else {
        const QString what = asked(transaction.requestContent);
        text += transactionFunction(transaction)
            + (what.isEmpty() ? QString() : QLatin1Char(' ') + what) + QStringLiteral(": ");
        const QString response = QStringLiteral(" (") + milliseconds(transaction.responseUs)
            + QLatin1Char(' ') + tr("ms") + QLatin1Char(')');
        if (transaction.outcome == BusTransaction::Outcome::Answered) {
            text += replyText(transaction.replyContent, &transaction.requestContent) + response;
        } else if (transaction.outcome == BusTransaction::Outcome::BadReply) {
            text += failureName(reply) + QLatin1Char(' ') + hex(reply) + response;
        } else {
            text += outcomeName(transaction.outcome);
        }
    }
    if (withHex) {
        if (transaction.hasRequest)
            text += QStringLiteral("\n  ") + tr("request") + QStringLiteral(": ")
                + hex(transaction.request);
        if (transaction.hasReply)
            text += QStringLiteral("\n  ") + tr("reply") + QStringLiteral(": ") + hex(reply);
    }
    return text;
}

QString csvHeader()
{
    return csvRow({tr("time"), tr("direction"), tr("address"), tr("function"), tr("start"),
        tr("count"), tr("values"), tr("response ms"), tr("status"), tr("hex")});
}

QStringList csvRows(
    const BusTransaction &transaction, const QDateTime &requestTime, const QDateTime &replyTime)
{
    QStringList rows;
    const BusFrame &reply = transaction.reply;
    if (transaction.outcome == BusTransaction::Outcome::BadFrame) {
        rows += csvRow({csvTime(replyTime), QString(), QString(), QString(), QString(), QString(),
            QString(), QString(), failureName(reply), hex(reply)});
        return rows;
    }
    const QString function = transaction.hasRequest ? transactionFunction(transaction)
                                                    : functionName(transaction.replyContent);
    if (transaction.hasRequest) {
        const FrameContent &request = transaction.requestContent;
        const QString status = transaction.hasReply ? tr("OK") : outcomeName(transaction.outcome);
        rows += csvRow({csvTime(requestTime), tr("request"), QString::number(request.address),
            function, number(request.start), number(request.count), requestValues(request),
            QString(), status, hex(transaction.request)});
    }
    if (transaction.hasReply) {
        const QString response
            = transaction.responseUs >= 0 ? milliseconds(transaction.responseUs) : QString();
        if (transaction.outcome == BusTransaction::Outcome::BadReply) {
            rows += csvRow({csvTime(replyTime), tr("reply"),
                QString::number(transaction.requestContent.address), function, QString(), QString(),
                QString(), response, failureName(reply), hex(reply)});
            return rows;
        }
        const FrameContent &content = transaction.replyContent;
        const bool exception = content.kind == FrameContent::Kind::Exception;
        rows += csvRow({csvTime(replyTime), tr("reply"), QString::number(content.address), function,
            number(content.start), number(content.count),
            exception
                ? QString()
                : answered(content, transaction.hasRequest ? &transaction.requestContent : nullptr),
            response, replyStatus(content), hex(reply)});
    }
    return rows;
}

} // namespace TransactionText
