#include "xlsxsheetreader.h"

#include "xlsxcellreference.h"
#include "xlsxcelltext.h"
#include "xlsxsharedstrings.h"
#include "xlsxzipreader.h"

namespace QXlsx {

namespace {

// Reads "B7" (letters in either case, "$" signs allowed) as CellReference
// does, without building a QString for every cell.
bool parseReference(const QByteArray &text, int *row, int *column)
{
    const char *c = text.constData();
    const char *end = c + text.size();
    if (c < end && *c == '$')
        ++c;
    qint64 columnNumber = 0;
    const char *letters = c;
    for (; c < end && c - letters < 4; ++c) {
        const char upper = (*c >= 'a' && *c <= 'z') ? char(*c - 'a' + 'A') : *c;
        if (upper < 'A' || upper > 'Z')
            break;
        columnNumber = columnNumber * 26 + (upper - 'A' + 1);
    }
    if (c == letters)
        return false;
    if (c < end && *c == '$')
        ++c;
    const char *digits = c;
    qint64 rowNumber = 0;
    for (; c < end && c - digits < 8; ++c) {
        if (*c < '0' || *c > '9')
            break;
        rowNumber = rowNumber * 10 + (*c - '0');
    }
    if (c == digits || c != end || *digits == '0' || rowNumber > MaxRows
        || columnNumber > MaxColumns)
        return false;
    *row = int(rowNumber);
    *column = int(columnNumber);
    return true;
}

} // namespace

SheetReader::SheetReader(ZipReader &zip, const QString &part, const QString &sheetName,
    const SharedStrings *strings, Warn warn)
    : zip(zip)
    , part(part)
    , sheetName(sheetName)
    , strings(strings)
    , warn(std::move(warn))
{ }

bool SheetReader::fail(const QString &message)
{
    if (error.isEmpty())
        error = QStringLiteral("%1, line %2: %3")
                    .arg(part)
                    .arg(xml ? xml->lineNumber() : 0)
                    .arg(message);
    done = true;
    return false;
}

bool SheetReader::failXml()
{
    return fail(xml->errorString());
}

bool SheetReader::open()
{
    if (!zip.openEntry(part)) {
        error = zip.errorString();
        done = true;
        return false;
    }
    xml = std::make_unique<XmlScanner>(
        [this](char *buffer, qint64 size) { return zip.readEntry(buffer, size); },
        [this]() { return zip.errorString(); });
    if (xml->next() != XmlScanner::StartElement)
        return failXml();
    if (!xml->isName("worksheet"))
        return fail(QStringLiteral("%1 is not a worksheet").arg(part));
    for (;;) {
        switch (xml->next()) {
        case XmlScanner::StartElement:
            if (xml->isName("sheetData"))
                return true;
            if (!xml->skipElement())
                return failXml();
            break;
        case XmlScanner::Characters:
            break;
        case XmlScanner::EndElement: // a worksheet without sheet data
            return finish();
        default:
            return failXml();
        }
    }
}

// Reads what follows the sheet data up to the end of the part, so that the
// part is checked whole (well-formed XML, zip checksum).
bool SheetReader::finish()
{
    for (;;) {
        switch (xml->next()) {
        case XmlScanner::StartElement:
            if (!xml->skipElement())
                return failXml();
            break;
        case XmlScanner::Characters:
        case XmlScanner::EndElement:
            break;
        case XmlScanner::EndDocument:
            done = true;
            if (!zip.closeEntry()) {
                error = zip.errorString();
                return false;
            }
            return true;
        default:
            return failXml();
        }
    }
}

bool SheetReader::nextRow(SheetRow *row)
{
    while (!done) {
        switch (xml->next()) {
        case XmlScanner::StartElement: {
            if (!xml->isName("row")) {
                if (!xml->skipElement())
                    return failXml();
                break;
            }
            int number = lastRow + 1;
            if (xml->attribute("r", &attributeValue)) {
                bool ok = false;
                number = attributeValue.toInt(&ok);
                if (!ok)
                    number = 0;
            }
            if (number < 1 || number > MaxRows)
                return fail(
                    QStringLiteral("bad row number \"%1\"").arg(QString::fromUtf8(attributeValue)));
            if (number <= lastRow)
                return fail(QStringLiteral("row %1 comes after row %2").arg(number).arg(lastRow));
            lastRow = number;
            row->number = number;
            row->cells.clear();
            int column = 0;
            for (;;) {
                const XmlScanner::Token token = xml->next();
                if (token == XmlScanner::EndElement)
                    return true;
                if (token == XmlScanner::Characters)
                    continue;
                if (token != XmlScanner::StartElement)
                    return failXml();
                if (!xml->isName("c")) {
                    if (!xml->skipElement())
                        return failXml();
                } else if (!readCell(number, &column, row)) {
                    return false;
                }
            }
        }
        case XmlScanner::Characters:
            break;
        case XmlScanner::EndElement: // of the sheet data
            finish();
            return false;
        default:
            return failXml();
        }
    }
    return false;
}

// Reads one <c> element of the given row. The cell's "r" attribute, when
// present, gives its position; otherwise it follows the previous cell.
bool SheetReader::readCell(int row, int *column, SheetRow *into)
{
    if (xml->attribute("r", &attributeValue)) {
        int cellRow = 0;
        if (!parseReference(attributeValue, &cellRow, column))
            return fail(
                QStringLiteral("bad cell reference \"%1\"").arg(QString::fromUtf8(attributeValue)));
        if (cellRow != row)
            return fail(QStringLiteral("cell %1 lies outside row %2")
                            .arg(QString::fromUtf8(attributeValue))
                            .arg(row));
    } else if (++*column > MaxColumns) {
        return fail(QStringLiteral("row %1 goes past the last column").arg(row));
    }
    QByteArray type;
    xml->attribute("t", &type);

    stored.resize(0);
    inlineText.resize(0);
    bool hasStored = false;
    bool hasInline = false;
    bool hasFormula = false;
    for (;;) {
        const XmlScanner::Token token = xml->next();
        if (token == XmlScanner::EndElement)
            break;
        if (token == XmlScanner::Characters)
            continue;
        if (token != XmlScanner::StartElement)
            return failXml();
        if (xml->isName("v")) {
            hasStored = true;
            if (!xml->appendElementText(&stored))
                return failXml();
        } else if (xml->isName("is")) {
            hasInline = true;
            if (!readRichText(*xml, &inlineText))
                return failXml();
        } else {
            hasFormula = hasFormula || xml->isName("f");
            if (!xml->skipElement())
                return failXml();
        }
    }

    QVariant value;
    if (type == "s") {
        if (hasStored) {
            bool ok = false;
            const int index = stored.trimmed().toInt(&ok);
            if (!strings || !ok || index < 0 || index >= strings->size())
                return fail(
                    QStringLiteral("cell %1: no shared string \"%2\"")
                        .arg(CellReference(row, *column).toString(), QString::fromUtf8(stored)));
            value = strings->text(index);
        }
    } else if (type == "inlineStr") {
        // A string cell without content is an empty text, as some writers store "".
        value = CellText::unescape(QString::fromUtf8(hasInline ? inlineText : stored));
    } else if (type == "str") {
        // A formula's text result; an empty one is empty text.
        if (hasStored || !hasFormula)
            value = CellText::unescape(QString::fromUtf8(stored));
    } else if (type == "b") {
        const QByteArray flag = stored.trimmed();
        if (hasStored && !(hasFormula && flag.isEmpty()))
            value = flag == "1" || flag == "true";
    } else if (type == "e" || type == "d") {
        if (hasStored && !(hasFormula && stored.isEmpty()))
            value = QString::fromUtf8(stored);
    } else if (hasStored && !stored.trimmed().isEmpty()) {
        bool ok = false;
        const double number = stored.trimmed().toDouble(&ok);
        value = ok ? QVariant(number) : QVariant(QString::fromUtf8(stored));
    }
    if (!value.isValid() && hasFormula && warn) {
        warn(QStringLiteral("Warning: worksheet %1, cell %2 holds a formula without a stored "
                            "result; it is read as an empty cell")
                 .arg(sheetName, CellReference(row, *column).toString()));
    }
    if (value.isValid())
        into->cells.push_back({*column, value});
    return true;
}

} // namespace QXlsx
