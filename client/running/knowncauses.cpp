#include "knowncauses.h"

#include <QRegularExpression>
#include <QVector>

namespace {

// A new cause is one more row here and its translation in the window's
// translation file, in the context "knownCauses".
const char *const rows[] = {
    // The engine: Modbus exceptions and reply checks.
    QT_TRANSLATE_NOOP("knownCauses", "Illegal function"),
    QT_TRANSLATE_NOOP("knownCauses", "Illegal data address"),
    QT_TRANSLATE_NOOP("knownCauses", "Illegal data value"),
    QT_TRANSLATE_NOOP("knownCauses", "Slave device or server failure"),
    QT_TRANSLATE_NOOP("knownCauses", "Acknowledge"),
    QT_TRANSLATE_NOOP("knownCauses", "Slave device or server is busy"),
    QT_TRANSLATE_NOOP("knownCauses", "Negative acknowledge"),
    QT_TRANSLATE_NOOP("knownCauses", "Memory parity error"),
    QT_TRANSLATE_NOOP("knownCauses", "Gateway path unavailable"),
    QT_TRANSLATE_NOOP("knownCauses", "Target device failed to respond"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid CRC"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid data"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid exception code"),
    QT_TRANSLATE_NOOP("knownCauses", "Too many data"),
    QT_TRANSLATE_NOOP("knownCauses", "Response not from requested slave"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid LRC"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid ASCII frame"),
    QT_TRANSLATE_NOOP("knownCauses", "Not a regular file"),
    // The drivers: a device that is silent or slow, a connection not made.
    QT_TRANSLATE_NOOP("knownCauses", "The device did not answer within %1 ms"),
    QT_TRANSLATE_NOOP("knownCauses", "The device's reply was incomplete after %1 ms"),
    QT_TRANSLATE_NOOP("knownCauses", "Connection fails: %1"),
    QT_TRANSLATE_NOOP("knownCauses", "Timed out while connecting"),
    QT_TRANSLATE_NOOP("knownCauses", "Unable to create the Modbus context"),
    QT_TRANSLATE_NOOP("knownCauses", "Macro params error"),
    // The platform's texts of the errors a line meets.
    QT_TRANSLATE_NOOP("knownCauses", "Connection refused"),
    QT_TRANSLATE_NOOP("knownCauses", "No route to host"),
    QT_TRANSLATE_NOOP("knownCauses", "Network is unreachable"),
    QT_TRANSLATE_NOOP("knownCauses", "Connection reset by peer"),
    QT_TRANSLATE_NOOP("knownCauses", "Connection timed out"),
    QT_TRANSLATE_NOOP("knownCauses", "Broken pipe"),
    QT_TRANSLATE_NOOP("knownCauses", "Permission denied"),
    QT_TRANSLATE_NOOP("knownCauses", "No such file or directory"),
    QT_TRANSLATE_NOOP("knownCauses", "Device or resource busy"),
    QT_TRANSLATE_NOOP("knownCauses", "Input/output error"),
    QT_TRANSLATE_NOOP("knownCauses", "Invalid argument"),
    // TLS, in OpenSSL's words: the file or step that failed, then the reason.
    QT_TRANSLATE_NOOP("knownCauses", "certificate verify failed: %1"),
    QT_TRANSLATE_NOOP("knownCauses", "certificate: %1"),
    QT_TRANSLATE_NOOP("knownCauses", "private key: %1"),
    QT_TRANSLATE_NOOP("knownCauses", "CA: %1"),
    QT_TRANSLATE_NOOP("knownCauses", "certificate has expired"),
    QT_TRANSLATE_NOOP("knownCauses", "certificate is not yet valid"),
    QT_TRANSLATE_NOOP("knownCauses", "unable to get local issuer certificate"),
    QT_TRANSLATE_NOOP("knownCauses", "unable to verify the first certificate"),
    QT_TRANSLATE_NOOP("knownCauses", "self-signed certificate"),
    QT_TRANSLATE_NOOP("knownCauses", "self-signed certificate in certificate chain"),
    QT_TRANSLATE_NOOP("knownCauses", "key values mismatch"),
    QT_TRANSLATE_NOOP("knownCauses", "no PEM certificate in the file"),
    QT_TRANSLATE_NOOP("knownCauses", "no PEM private key without pass phrase in the file"),
    QT_TRANSLATE_NOOP("knownCauses", "tlsv13 alert certificate required"),
    QT_TRANSLATE_NOOP("knownCauses", "sslv3 alert bad certificate"),
    QT_TRANSLATE_NOOP("knownCauses", "sslv3 alert handshake failure"),
    QT_TRANSLATE_NOOP("knownCauses", "tlsv1 alert unknown ca"),
    QT_TRANSLATE_NOOP("knownCauses", "wrong version number"),
    QT_TRANSLATE_NOOP("knownCauses", "unexpected eof while reading"),
};

struct pattern
{
    QRegularExpression match; // the whole cause; the varying part captured
    const char *source;
};

// Each row as a pattern of the whole text: the row's text as written, %1
// standing for any text.
const QVector<pattern> &patterns()
{
    static const QVector<pattern> list = [] {
        QVector<pattern> made;
        const QString placeholder = QStringLiteral("%1");
        for (const char *row : rows) {
            const QString text = QString::fromLatin1(row);
            const int at = text.indexOf(placeholder);
            const QString expression = at < 0
                ? QRegularExpression::escape(text)
                : QRegularExpression::escape(text.left(at)) + QStringLiteral("(.+)")
                    + QRegularExpression::escape(text.mid(at + placeholder.size()));
            made.append({QRegularExpression(QRegularExpression::anchoredPattern(expression)), row});
        }
        return made;
    }();
    return list;
}

} // namespace

QString knownCauses::translated(const QString &cause)
{
    for (const pattern &row : patterns()) {
        const QRegularExpressionMatch found = row.match.match(cause);
        if (!found.hasMatch())
            continue;
        const QString text = tr(row.source);
        return found.lastCapturedIndex() < 1 ? text : text.arg(translated(found.captured(1)));
    }
    return cause;
}

QStringList knownCauses::sources()
{
    QStringList list;
    for (const char *row : rows)
        list << QString::fromLatin1(row);
    return list;
}
