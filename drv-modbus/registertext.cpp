#include "registertext.h"

#include "filenames.h"
#include "translationcontext.h"

namespace {

constexpr TranslationContext tr("RegisterText");

QString escaped(uchar byte)
{
    return QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, '0');
}

// Length of the UTF-8 sequence that starts with lead, 0 for a byte that
// starts none.
int sequenceLength(uchar lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isControl(uint code)
{
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

} // namespace

namespace RegisterText {

bool toWords(const QString &text, int registers, QVector<quint16> *words, QString *errors)
{
    words->clear();
    // The bytes as given on the command line, also where they are not UTF-8.
    const QByteArray bytes = FileNames::toBytes(text);
    if (bytes.size() > 2 * registers) {
        if (errors)
            *errors += "&nbsp;"
                + tr("the text takes %1 bytes, more than the %2 of %3 registers")
                      .arg(bytes.size())
                      .arg(2 * registers)
                      .arg(registers)
                + "<br>";
        return false;
    }
    words->fill(0, registers);
    for (int i = 0; i < bytes.size(); ++i) {
        const quint16 byte = quint8(bytes.at(i));
        (*words)[i / 2] |= i % 2 ? byte : quint16(byte << 8);
    }
    return true;
}

QByteArray bytesOf(const QVector<quint16> &words)
{
    QByteArray bytes;
    bytes.reserve(2 * words.size());
    for (const quint16 word : words) {
        for (const char byte : {char(word >> 8), char(word & 0xFF)}) {
            if (byte == 0)
                return bytes;
            bytes.append(byte);
        }
    }
    return bytes;
}

QString shown(const QByteArray &bytes)
{
    QString text;
    for (int i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes.at(i));
        if (lead < 0x80) {
            text += isControl(lead) ? escaped(lead) : QString(QChar(lead));
            ++i;
            continue;
        }
        const int length = sequenceLength(lead);
        const QString decoded = length && i + length <= bytes.size()
            ? QString::fromUtf8(bytes.constData() + i, length)
            : QString();
        // One character, not a replacement for a broken sequence.
        const uint code = decoded.isEmpty() ? 0 : decoded.toUcs4().value(0);
        if (decoded.isEmpty() || decoded.contains(QChar::ReplacementCharacter)
            || decoded.toUcs4().size() != 1 || isControl(code)) {
            text += escaped(lead);
            ++i;
            continue;
        }
        text += decoded;
        i += length;
    }
    return text;
}

} // namespace RegisterText
