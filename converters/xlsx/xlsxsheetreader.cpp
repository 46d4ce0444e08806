#include "xlsxsheetreader.h"

#include "xlsxcellreference.h"
#include "xlsxcelltext.h"
#include "xlsxsharedstrings.h"
#include "xlsxzipreader.h"

#include <QLocale>

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
{
    // With a reserved capacity resize(0) keeps each buffer from cell to cell
    // instead of freeing it.
    for (QByteArray *buffer : {&attributeValue, &stored, &inlineText})
        buffer->reserve(64);
}

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
        case XmlScanner::StartElement:
            if (xml->isName("row"))
                return readRowNumber(&row->number) && readCells(row);
            if (!xml->skipElement())
                return failXml();
            break;
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

// The number of the current <row>: its "r" attribute, or the one after the
// row before.
bool SheetReader::readRowNumber(int *number)
{
    *number = lastRow + 1;
    if (xml->attribute("r", &attributeValue)) {
        bool ok = false;
        *number = attributeValue.toInt(&ok);
        if (!ok)
            *number = 0;
    }
    if (*number < 1 || *number > MaxRows)
        return fail(QStringLiteral("bad row number \"%1\"").arg(QString::fromUtf8(attributeValue)));
    if (*number <= lastRow)
        return fail(QStringLiteral("row %1 comes after row %2").arg(*number).arg(lastRow));
    lastRow = *number;
    return true;
}

// The cells of the current <row>, up to its end element.
bool SheetReader::readCells(SheetRow *row)
{
    row->cells.clear();
    int column = 0;
    const auto cell = [&] {
        if (xml->isName("c"))
            return readCell(row->number, &column, row);
        return xml->skipElement();
    };
    return xml->readChildren(cell) || failXml();
}

// Reads one <c> element of the given row; a cell that holds a value is added
// to the row.
bool SheetReader::readCell(int row, int *column, SheetRow *into)
{
    CellContent content;
    if (!readCellPosition(row, column) || !readCellContent(&content)
        || !findSharedString(row, *column, &content))
        return false;
    std::optional<SheetCell> cell = valueOf(*column, content);
    if (cell) {
        into->cells.push_back(std::move(*cell));
    } else if (content.formula && warn) {
        warn(QStringLiteral("Warning: worksheet %1, cell %2 holds a formula without a stored "
                            "result; it is read as an empty cell")
                 .arg(sheetName, CellReference(row, *column).toString()));
    }
    return true;
}

// The cell's "r" attribute, when present, gives its column; otherwise it
// follows the previous cell.
bool SheetReader::readCellPosition(int row, int *column)
{
    if (!xml->attribute("r", &attributeValue)) {
        if (++*column > MaxColumns)
            return fail(QStringLiteral("row %1 goes past the last column").arg(row));
        return true;
    }
    int cellRow = 0;
    if (!parseReference(attributeValue, &cellRow, column))
        return fail(
            QStringLiteral("bad cell reference \"%1\"").arg(QString::fromUtf8(attributeValue)));
    if (cellRow != row)
        return fail(QStringLiteral("cell %1 lies outside row %2")
                        .arg(QString::fromUtf8(attributeValue))
                        .arg(row));
    return true;
}

// Reads the current <c> element up to its end: its type and its children.
bool SheetReader::readCellContent(CellContent *content)
{
    if (xml->attribute("t", &attributeValue))
        content->type = typeOf(attributeValue);
    stored.resize(0);
    inlineText.resize(0);
    const auto child = [&] {
        if (xml->isName("v")) {
            content->stored = true;
            return xml->appendElementText(&stored);
        }
        if (xml->isName("is")) {
            content->inlined = true;
            return readRichText(*xml, &inlineText);
        }
        content->formula = content->formula || xml->isName("f");
        return xml->skipElement();
    };
    return xml->readChildren(child) || failXml();
}

// The type a cell's "t" attribute gives; a number for any other value, as
// spreadsheet programs read it.
SheetReader::CellType SheetReader::typeOf(const QByteArray &t)
{
    const std::string_view type(t.constData(), size_t(t.size()));
    if (type == "s")
        return CellType::SharedString;
    if (type == "inlineStr")
        return CellType::InlineString;
    if (type == "str")
        return CellType::FormulaString;
    if (type == "b")
        return CellType::Boolean;
    if (type == "e" || type == "d")
        return CellType::ErrorOrDate;
    return CellType::Number;
}

// For a shared string cell with a value, the index it refers to, which must
// be in the table.
bool SheetReader::findSharedString(int row, int column, CellContent *content)
{
    if (content->type != CellType::SharedString || !content->stored)
        return true;
    bool ok = false;
    content->sharedIndex = stored.trimmed().toInt(&ok);
    if (strings && ok && content->sharedIndex >= 0 && content->sharedIndex < strings->size())
        return true;
    return fail(QStringLiteral("cell %1: no shared string \"%2\"")
                    .arg(CellReference(row, column).toString(), QString::fromUtf8(stored)));
}

// The value the cell's content gives, by the cell's type; none when it holds
// no value.
std::optional<SheetCell> SheetReader::valueOf(int column, const CellContent &content) const
{
    SheetCell cell;
    cell.column = column;
    switch (content.type) {
    case CellType::SharedString:
        if (!content.stored)
            return std::nullopt;
        cell.text = strings->text(content.sharedIndex);
        break;
    case CellType::InlineString:
        // A string cell without content is an empty text, as some writers store "".
        CellText::appendUnescaped(&cell.text, content.inlined ? inlineText : stored);
        break;
    case CellType::FormulaString:
        // A formula's text result; an empty one is empty text.
        if (!content.stored && content.formula)
            return std::nullopt;
        CellText::appendUnescaped(&cell.text, stored);
        break;
    case CellType::Boolean: {
        const QByteArray flag = stored.trimmed();
        if (!content.stored || (content.formula && flag.isEmpty()))
            return std::nullopt;
        const bool set = flag == "1" || flag == "true";
        cell.kind = SheetCell::Kind::Boolean;
        cell.number = set ? 1 : 0;
        cell.text = set ? "true" : "false";
        break;
    }
    case CellType::ErrorOrDate:
        if (!content.stored || (content.formula && stored.isEmpty()))
            return std::nullopt;
        cell.text = stored;
        break;
    case CellType::Number: {
        const QByteArray number = stored.trimmed();
        if (!content.stored || number.isEmpty())
            return std::nullopt;
        bool ok = false;
        cell.number = number.toDouble(&ok);
        if (ok) {
            cell.kind = SheetCell::Kind::Number;
            cell.text = QByteArray::number(cell.number, 'g', QLocale::FloatingPointShortest);
        } else {
            cell.text = stored;
        }
        break;
    }
    }
    return cell;
}

QVariant SheetCell::value() const
{
    switch (kind) {
    case Kind::Number:
        return number;
    case Kind::Boolean:
        return number != 0;
    case Kind::Text:
        break;
    }
    // Every byte: fromUtf8(QByteArray) would stop at a NUL character.
    return QString::fromUtf8(text.constData(), text.size());
}

} // namespace QXlsx
