#include "filenames.h"

#include <QTextCodec>

namespace {

// First of the surrogates that stand for bytes 0x80 to 0xFF.
constexpr ushort KeptByteBase = 0xDC00;

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at data[0] (n bytes available), 0 when
// the bytes there do not start one, -1 when they start one that needs more
// bytes than are available.
int sequenceLength(const uchar *data, int n)
{
    const uchar lead = data[0];
    int length = 0;
    uchar low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no encoded surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (i >= n)
            return -1;
        const uchar byte = data[i];
        if (i == 1 ? (byte < low || byte > high) : !isContinuation(byte))
            return 0;
    }
    return length;
}

uint decodeSequence(const uchar *data, int length)
{
    static const uchar leadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint code = data[0] & leadMask[length];
    for (int i = 1; i < length; ++i)
        code = (code << 6) | (data[i] & 0x3F);
    return code;
}

void appendCodePoint(QString *text, uint code)
{
    if (QChar::requiresSurrogates(code)) {
        text->append(QChar(QChar::highSurrogate(code)));
        text->append(QChar(QChar::lowSurrogate(code)));
    } else {
        text->append(QChar(ushort(code)));
    }
}

void appendUtf8(QByteArray *bytes, uint code)
{
    if (code < 0x80) {
        bytes->append(char(code));
    } else if (code < 0x800) {
        bytes->append(char(0xC0 | (code >> 6)));
        bytes->append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        bytes->append(char(0xE0 | (code >> 12)));
        bytes->append(char(0x80 | ((code >> 6) & 0x3F)));
        bytes->append(char(0x80 | (code & 0x3F)));
    } else {
        bytes->append(char(0xF0 | (code >> 18)));
        bytes->append(char(0x80 | ((code >> 12) & 0x3F)));
        bytes->append(char(0x80 | ((code >> 6) & 0x3F)));
        bytes->append(char(0x80 | (code & 0x3F)));
    }
}

// Decodes bytes; with a state, an incomplete sequence at the end waits there
// for the next call (streams decode in pieces).
QString decode(const char *input, int length, QTextCodec::ConverterState *state)
{
    QByteArray joined;
    const uchar *data = reinterpret_cast<const uchar *>(input);
    int n = length;
    if (state && state->remainingChars > 0) {
        for (int i = 0; i < state->remainingChars; ++i)
            joined.append(char(state->state_data[i]));
        joined.append(input, length);
        data = reinterpret_cast<const uchar *>(joined.constData());
        n = joined.size();
        state->remainingChars = 0;
    }

    QString text;
    text.reserve(n);
    int i = 0;
    while (i < n) {
        const int sequence = sequenceLength(data + i, n - i);
        if (sequence > 0) {
            appendCodePoint(&text, decodeSequence(data + i, sequence));
            i += sequence;
        } else if (sequence < 0 && state) {
            state->remainingChars = n - i; // at most 3 bytes
            for (int k = 0; k < state->remainingChars; ++k)
                state->state_data[k] = data[i + k];
            break;
        } else {
            text.append(QChar(ushort(KeptByteBase + data[i])));
            ++i;
        }
    }
    return text;
}

QByteArray encode(const QChar *input, int length, QTextCodec::ConverterState *state)
{
    QString joined;
    const QChar *data = input;
    int n = length;
    if (state && state->remainingChars > 0) {
        joined.append(QChar(ushort(state->state_data[0])));
        joined.append(input, length);
        data = joined.constData();
        n = joined.size();
        state->remainingChars = 0;
    }

    QByteArray bytes;
    bytes.reserve(n * 3);
    for (int i = 0; i < n; ++i) {
        const ushort unit = data[i].unicode();
        if (QChar::isHighSurrogate(unit)) {
            if (i + 1 < n && QChar::isLowSurrogate(data[i + 1].unicode())) {
                appendUtf8(&bytes, QChar::surrogateToUcs4(unit, data[i + 1].unicode()));
                ++i;
            } else if (i + 1 == n && state) {
                state->remainingChars = 1; // its low half comes with the next piece
                state->state_data[0] = unit;
            } else {
                bytes.append('?');
            }
        } else if (unit >= KeptByteBase + 0x80 && unit <= KeptByteBase + 0xFF) {
            bytes.append(char(unit - KeptByteBase));
        } else if (QChar::isLowSurrogate(unit)) {
            bytes.append('?');
        } else {
            appendUtf8(&bytes, unit);
        }
    }
    return bytes;
}

class ByteKeepingCodec : public QTextCodec
{
public:
    QByteArray name() const override { return "x-qel-utf-8-kept-bytes"; }
    int mibEnum() const override { return -106; }

protected:
    QString convertToUnicode(const char *in, int length, ConverterState *state) const override
    {
        return decode(in, length, state);
    }
    QByteArray convertFromUnicode(const QChar *in, int length, ConverterState *state) const override
    {
        return encode(in, length, state);
    }
};

} // namespace

namespace FileNames {

void keepBytesAsGiven()
{
    // Codecs register themselves with Qt on construction and live until the
    // process ends.
    static QTextCodec *const codec = new ByteKeepingCodec;
    QTextCodec::setCodecForLocale(codec);
}

QByteArray toBytes(const QString &text)
{
    return encode(text.constData(), text.size(), nullptr);
}

QString fromBytes(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size(), nullptr);
}

QString toFileUri(const QString &fileName)
{
    return QStringLiteral("file:") + QString::fromLatin1(toBytes(fileName).toPercentEncoding("/"));
}

} // namespace FileNames
