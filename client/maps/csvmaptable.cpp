#include "csvmaptable.h"

#include <QTextCodec>

namespace {

const QByteArray utf8Mark("\xEF\xBB\xBF");

bool isUtf8(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// The separator of the first line that is not empty: the one of comma and
// semicolon it holds more of outside quotes.
QChar detectSeparator(const QString &text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        const bool lineEnd = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && lineEnd && (commas > 0 || semicolons > 0))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool isBlank(const QStringList &cells)
{
    for (const QString &cell : cells)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

csvMapTable::decoded csvMapTable::read(const QByteArray &bytes, const mapOptions &options)
{
    decoded result;
    QByteArray data = bytes;
    const bool marked = data.startsWith(utf8Mark);
    if (marked)
        data.remove(0, utf8Mark.size());
    result.windows1250 = options.encoding == mapOptions::Encoding::Windows1250
        || (options.encoding == mapOptions::Encoding::Detect && !marked && !isUtf8(data));
    const QString text
        = QTextCodec::codecForName(result.windows1250 ? "Windows-1250" : "UTF-8")->toUnicode(data);
    result.separator = options.separator == mapOptions::Separator::Comma ? QLatin1Char(',')
        : options.separator == mapOptions::Separator::Semicolon          ? QLatin1Char(';')
                                                                         : detectSeparator(text);

    // The header and at most MaxLines lines after it.
    const size_t most = size_t(mapTable::MaxLines) + 1;
    mapLine record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    record.number = 1;
    const auto endRecord = [&](int nextLine) {
        record.cells << field;
        field.clear();
        fieldStarted = false;
        if (!isBlank(record.cells)) {
            if (result.table.lines.size() == most) {
                result.table.firstUnread = record.number;
                return false;
            }
            result.table.lines.push_back(record);
        }
        record.cells.clear();
        record.number = nextLine;
        return true;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                // CR LF inside a field counts as one line break.
                if (c == QLatin1Char('\n')
                    || (c == QLatin1Char('\r')
                        && !(i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == result.separator) {
            record.cells << field;
            field.clear();
            fieldStarted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size()
                && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++line;
            if (!endRecord(line))
                return result;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !record.cells.isEmpty())
        endRecord(line);
    return result;
}

QByteArray csvMapTable::write(const mapTable &table)
{
    QString text;
    for (const mapLine &line : table.lines) {
        for (int i = 0; i < line.cells.size(); ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            QString field = line.cells.at(i);
            if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
                || field.contains(QLatin1Char(';'))) {
                field.replace(QLatin1String("\""), QLatin1String("\"\""));
                field = QLatin1Char('"') + field + QLatin1Char('"');
            }
            text += field;
        }
        text += QLatin1String("\r\n");
    }
    return utf8Mark + text.toUtf8();
}
