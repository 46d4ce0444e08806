#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Rows as qelDrvMonitor writes them with "--csv -", for the tests of the
// client's monitor: one request and reply of each kind the table tells
// apart.
namespace MonitorRows {

inline QByteArray row(const QString &direction, const QString &address, const QString &function,
    const QString &start, const QString &count, const QString &values, const QString &ms,
    const QString &status, const QString &hex,
    const QString &time = "2024-05-07T10:15:02.481+02:00")
{
    const auto quoted = [](QString field) {
        if (field.contains(',') || field.contains('"') || field.contains('\n'))
            field = '"' + field.replace("\"", "\"\"") + '"';
        return field;
    };
    return (QStringList {
                time, direction, address, function, start, count, quoted(values), ms, status, hex}
                .join(',')
        + "\r\n")
        .toUtf8();
}

inline QByteArray header()
{
    return "time,direction,address,function,start,count,values,response ms,status,hex\r\n";
}

// Address 1 reads three holding registers and gets them.
inline QByteArray readRequest()
{
    return row("request", "1", "Read Holding Registers", "100", "3", "", "", "OK",
        "01 03 00 64 00 03 44 14");
}
inline QByteArray readReply()
{
    return row("reply", "1", "Read Holding Registers", "", "", "1234 64302 4660", "4", "OK",
        "01 03 06 04 D2 FB 2E 12 34 F5 1B", "2024-05-07T10:15:02.485+02:00");
}
// Address 2 is asked for an input register it does not have.
inline QByteArray exceptionRequest()
{
    return row(
        "request", "2", "Read Input Registers", "0", "1", "", "", "OK", "02 04 00 00 00 01 31 F9");
}
inline QByteArray exceptionReply()
{
    return row("reply", "2", "Read Input Registers", "", "", "", "5", "Illegal data address",
        "02 84 02 C2 C1");
}
// Address 3 does not answer.
inline QByteArray unanswered()
{
    return row("request", "3", "Read Holding Registers", "0", "1", "", "", "no reply",
        "03 03 00 00 00 01 85 E8");
}
// A broadcast write of register 5.
inline QByteArray broadcast()
{
    return row("request", "0", "Write Single Register", "5", "1", "7", "", "broadcast",
        "00 06 00 05 00 07 19 D9");
}
// A frame with a wrong CRC: neither address nor function known.
inline QByteArray badFrame()
{
    return row("", "", "", "", "", "", "", "CRC error", "01 03 02 00 07 F9 79");
}
// A reply whose request was not heard.
inline QByteArray replyOnly()
{
    return row("reply", "1", "Read Input Registers", "", "", "10 20", "", "OK",
        "01 04 04 00 0A 00 14 7B 85");
}
// A macro whose values hold a comma and quotes, and a device text with a line break.
inline QByteArray macroRequest()
{
    return row("request", "1", "Macro", "", "", "FD_MACRO_LOGIN code 44 spec 1 params \"1, 2\"", "",
        "OK", "01 10 00 00");
}
inline QByteArray macroReply()
{
    return row("reply", "1", "Macro", "", "", "device \"A\"\r\nline 2", "3", "OK",
        "01 10 00 00 00 04", "2024-05-07T10:15:02.490+02:00");
}

} // namespace MonitorRows
