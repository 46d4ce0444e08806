// The workbook layer: cell references and ranges, text escaping, what it
// writes (complete packages that read back cell for cell) and what it reads
// (packages laid out as other spreadsheet programs write them, and damaged ones).

#include "packagemaker.h"
#include "xlsxcelltext.h"
#include "xlsxdocument.h"
#include "xlsxsharedstrings.h"
#include "xlsxworksheet.h"
#include "xlsxxmlscanner.h"

#include <quazip.h>
#include <quazipfile.h>

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using namespace QXlsx;

namespace {

// Every cell of the current worksheet as "A1 s:text", "B1 n:2.5" or "C1 b:true".
QStringList cellDump(const Document &document)
{
    QStringList cells;
    const Worksheet *sheet = document.currentWorksheet();
    if (!sheet)
        return cells;
    for (auto row = sheet->rows().cbegin(); row != sheet->rows().cend(); ++row) {
        for (auto cell = row->cbegin(); cell != row->cend(); ++cell) {
            const QVariant &value = cell.value();
            const char *kind = value.userType() == QMetaType::QString ? "s"
                : value.userType() == QMetaType::Bool                 ? "b"
                : value.userType() == QMetaType::Double               ? "n"
                                                                      : "?";
            cells.append(CellReference(row.key(), cell.key()).toString() + QLatin1Char(' ')
                + QLatin1String(kind) + QLatin1Char(':') + value.toString());
        }
    }
    return cells;
}

// The entries of a zip archive by name.
QMap<QString, QByteArray> unzip(const QString &fileName)
{
    QMap<QString, QByteArray> entries;
    QuaZip zip(fileName);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (file.open(QIODevice::ReadOnly))
            entries.insert(zip.getCurrentFileName(), file.readAll());
    }
    return entries;
}

// A scanner over bytes in memory, handed out in pieces of `piece` bytes so
// that tokens straddle the refills.
std::unique_ptr<XmlScanner> scannerOver(
    const QByteArray &bytes, int piece = 3, int maxToken = XmlScanner::DefaultMaxToken)
{
    auto read = std::make_shared<qint64>(0);
    return std::make_unique<XmlScanner>(
        [bytes, read, piece](char *buffer, qint64 size) {
            const qint64 count = qMin(qMin(size, qint64(piece)), bytes.size() - *read);
            std::memcpy(buffer, bytes.constData() + *read, size_t(count));
            *read += count;
            return count;
        },
        [] { return QStringLiteral("read error"); }, maxToken);
}

// Every token of a part as "<name", "</name", "text" or "!error", with the
// lookups the sheet readers make on every start element.
QStringList scanAll(XmlScanner &xml)
{
    QStringList tokens;
    for (;;) {
        QByteArray value;
        switch (xml.next()) {
        case XmlScanner::StartElement:
            tokens.append(QLatin1Char('<') + QString::fromUtf8(xml.name()));
            for (const char *wanted : {"si", "row", "c", "t", "r"}) {
                if (xml.isName(wanted))
                    tokens.last() += QStringLiteral(" is ") + QLatin1String(wanted);
            }
            if (xml.attribute("r", &value))
                tokens.last() += QStringLiteral(" r=") + QString::fromUtf8(value);
            break;
        case XmlScanner::EndElement:
            tokens.append(QStringLiteral("</") + QString::fromUtf8(xml.name()));
            break;
        case XmlScanner::Characters:
            tokens.append(QString::fromUtf8(xml.text()));
            break;
        case XmlScanner::EndDocument:
            return tokens;
        case XmlScanner::Invalid:
            tokens.append(QLatin1Char('!') + xml.errorString());
            return tokens;
        }
    }
}

QString longText(int size)
{
    QString text;
    text.reserve(size);
    for (int i = 0; text.size() < size; ++i)
        text += QStringLiteral("Zażółć gęślą jaźń %1; ").arg(i);
    return text.left(size);
}

} // namespace

class TestXlsx : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void cellReference_data();
    void cellReference();
    void everyColumnNameReadsBack();
    void cellRange_data();
    void cellRange();
    void escape_data();
    void escape();
    void unescape_data();
    void unescape();

    void textReadsBackUnchanged_data();
    void textReadsBackUnchanged();
    void valuesKeepTheirKind();
    void emptyTextIsACellAbsentCellIsNot();
    void writeRefusesWhatASheetCannotHold_data();
    void writeRefusesWhatASheetCannotHold();
    void dimensionCoversCellsWithValues();
    void sheetNames_data();
    void sheetNames();
    void selectSheetFindsExactName();
    void sheetsKeepTheirOrder();
    void writtenPackageIsComplete();
    void emptyDocumentSavesOneSheet();
    void failedSaveKeepsTheFile_data();
    void failedSaveKeepsTheFile();

    void readsWhatSpreadsheetProgramsWrite_data();
    void readsWhatSpreadsheetProgramsWrite();
    void findsSheetsThroughRelationships();
    void refusesDamagedWorkbooks_data();
    void refusesDamagedWorkbooks();
    void refusesDamagedZipEntry();

    void scansXml_data();
    void scansXml();
    void sharedStringsBoundedPerText();

private:
    QString path(const QString &name) const { return dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir;
};

void TestXlsx::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void TestXlsx::cellReference_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("written");
    QTest::newRow("first cell") << "A1" << 1 << 1 << "A1";
    QTest::newRow("last single letter") << "Z9" << 9 << 26 << "Z9";
    QTest::newRow("two letters") << "AA10" << 10 << 27 << "AA10";
    QTest::newRow("AZ") << "AZ3" << 3 << 52 << "AZ3";
    QTest::newRow("BA") << "BA3" << 3 << 53 << "BA3";
    QTest::newRow("last cell of a sheet") << "XFD1048576" << 1048576 << 16384 << "XFD1048576";
    QTest::newRow("absolute") << "$B$2" << 2 << 2 << "B2";
    QTest::newRow("lower case") << "c7" << 7 << 3 << "C7";
    QTest::newRow("empty") << "" << -1 << -1 << "";
    QTest::newRow("no row") << "A" << -1 << -1 << "";
    QTest::newRow("no column") << "12" << -1 << -1 << "";
    QTest::newRow("row 0") << "A0" << -1 << -1 << "";
    QTest::newRow("leading zero") << "A01" << -1 << -1 << "";
    QTest::newRow("column past XFD") << "XFE1" << -1 << -1 << "";
    QTest::newRow("row past the sheet") << "A1048577" << -1 << -1 << "";
    QTest::newRow("trailing text") << "A1B" << -1 << -1 << "";
    QTest::newRow("four letters") << "AAAA1" << -1 << -1 << "";
    QTest::newRow("blank inside") << "A 1" << -1 << -1 << "";
}

void TestXlsx::cellReference()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, written);
    const CellReference reference(text);
    QCOMPARE(reference.isValid(), row > 0);
    QCOMPARE(reference.row(), row);
    QCOMPARE(reference.column(), column);
    QCOMPARE(reference.toString(), written);
}

void TestXlsx::everyColumnNameReadsBack()
{
    for (int column = 1; column <= MaxColumns; ++column) {
        const QString name = CellReference(5, column).toString();
        const CellReference back(name);
        if (back.column() != column || back.row() != 5)
            QFAIL(qPrintable(QStringLiteral("column %1 written as %2").arg(column).arg(name)));
    }
    QCOMPARE(CellReference::columnName(MaxColumns), QStringLiteral("XFD"));
    QVERIFY(!CellReference(1, MaxColumns + 1).isValid());
    QVERIFY(!CellReference(0, 1).isValid());
}

void TestXlsx::cellRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<int>("lastColumn");
    QTest::addColumn<QString>("written");
    QTest::newRow("block") << "A1:G5" << true << 1 << 1 << 5 << 7 << "A1:G5";
    QTest::newRow("single cell") << "B2" << true << 2 << 2 << 2 << 2 << "B2";
    QTest::newRow("same cell twice") << "C3:C3" << true << 3 << 3 << 3 << 3 << "C3";
    QTest::newRow("reversed") << "G5:A1" << false << -1 << -1 << -2 << -2 << "";
    QTest::newRow("open end") << "A1:" << false << -1 << -1 << -2 << -2 << "";
    QTest::newRow("three corners") << "A1:B2:C3" << false << -1 << -1 << -2 << -2 << "";
    QTest::newRow("empty") << "" << false << -1 << -1 << -2 << -2 << "";
}

void TestXlsx::cellRange()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, firstRow);
    QFETCH(int, firstColumn);
    QFETCH(int, lastRow);
    QFETCH(int, lastColumn);
    QFETCH(QString, written);
    const CellRange range(text);
    QCOMPARE(range.isValid(), valid);
    QCOMPARE(range.firstRow(), firstRow);
    QCOMPARE(range.firstColumn(), firstColumn);
    QCOMPARE(range.lastRow(), lastRow);
    QCOMPARE(range.lastColumn(), lastColumn);
    QCOMPARE(range.rowCount(), valid ? lastRow - firstRow + 1 : 0);
    QCOMPARE(range.toString(), written);
}

void TestXlsx::escape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << "abc żółć"
                           << "abc żółć";
    QTest::newRow("tab and line feed stay") << "a\tb\nc"
                                            << "a\tb\nc";
    QTest::newRow("carriage return stays") << "a\r\nb"
                                           << "a\r\nb";
    QTest::newRow("control characters") << QStringLiteral("a\x01"
                                                          "b\x1F"
                                                          "c\x0B")
                                        << "a_x0001_b_x001F_c_x000B_";
    QTest::newRow("NUL") << QString(QChar(0)) << "_x0000_";
    QTest::newRow("non-characters") << QString(QChar(0xFFFE)) + QChar(0xFFFF) << "_xFFFE__xFFFF_";
    QTest::newRow("literal escape pattern") << "_x0041_"
                                            << "_x005F_x0041_";
    QTest::newRow("pattern with lower-case hex") << "_x00ff_"
                                                 << "_x005F_x00ff_";
    QTest::newRow("not a pattern") << "_x00G1_ _x41_ x0041_"
                                   << "_x00G1_ _x41_ x0041_";
    QTest::newRow("literal pattern before an escaped character") << QStringLiteral("a_x0041\x01"
                                                                                   "b")
                                                                 << "a_x005F_x0041_x0001_b";
    QTest::newRow("literal carriage return pattern before an escaped character") << QStringLiteral(
        "x_x000D\x1F"
        "y") << "x_x005F_x000D_x001F_y";
    QTest::newRow("literal pattern before a surrogate pair")
        << QString::fromUtf8("_x0041😀") << QString::fromUtf8("_x0041😀");
    QTest::newRow("surrogate pair stays") << QString::fromUtf8("⚡ 😀") << QString::fromUtf8("⚡ 😀");
    QTest::newRow("lone high surrogate")
        << QString(QChar(0xD83D)) + "x" << QString(QChar(QChar::ReplacementCharacter)) + "x";
    QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QString(QChar(0xFFFD));
}

void TestXlsx::escape()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(CellText::escape(text), escaped);
}

void TestXlsx::unescape_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("carriage return") << "a_x000D_b"
                                     << "a\rb";
    QTest::newRow("lower-case hex") << "_x000d_"
                                    << "\r";
    QTest::newRow("escaped underscore") << "_x005F_x0041_"
                                        << "_x0041_";
    QTest::newRow("letter") << "_x0041_"
                            << "A";
    QTest::newRow("short code") << "_x41_"
                                << "_x41_";
    QTest::newRow("unterminated") << "_x0041"
                                  << "_x0041";
    QTest::newRow("two in a row") << "_x0031__x0032_"
                                  << "12";
}

void TestXlsx::unescape()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QCOMPARE(CellText::unescape(stored), text);
}

void TestXlsx::textReadsBackUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << "\"double\" and 'single'";
    QTest::newRow("XML specials") << "<b>a & b</b> &amp; ]]>";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Zażółć gęślą jaźń Привет 日本語");
    QTest::newRow("outside the BMP") << QString::fromUtf8("😀 𝄞");
    QTest::newRow("CR LF") << "line 1\r\nline 2";
    QTest::newRow("lone CR") << "a\rb";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("blanks at the ends") << "  padded  ";
    QTest::newRow("only blanks") << "   ";
    QString controls;
    for (ushort c = 0; c < 0x20; ++c)
        controls += QChar(c);
    QTest::newRow("every control character") << controls;
    QTest::newRow("escape-like text") << "_x0041_ and _x005F_";
    QTest::newRow("escape-like text before a control character") << QStringLiteral("a_x0041\x01"
                                                                                   "b x_x000D\x1F"
                                                                                   "y _x005F\x02");
    QTest::newRow("NUL inside") << QStringLiteral("77") + QChar(0) + QStringLiteral("999");
    QTest::newRow("looks like a formula") << "=SUM(A1:A3)";
    QTest::newRow("looks like a number") << "007";
    QTest::newRow("empty") << "";
    QTest::newRow("32767 characters") << longText(32767);
    QTest::newRow("100000 characters") << longText(100000);
}

void TestXlsx::textReadsBackUnchanged()
{
    QFETCH(QString, text);
    {
        Document document;
        QVERIFY(document.addSheet("Texts"));
        QVERIFY(document.write(1, 1, "before"));
        QVERIFY(document.write(2, 2, text));
        QVERIFY(document.write(3, 3, "after"));
        QVERIFY(document.saveAs(path("texts.xlsx")));
    }
    Document document(path("texts.xlsx"));
    QVERIFY2(document.isLoadPackage(), qPrintable(document.errorString()));
    const QVariant value = document.read(2, 2);
    QCOMPARE(value.userType(), int(QMetaType::QString));
    QCOMPARE(value.toString(), text);
    QCOMPARE(document.read("C3").toString(), QStringLiteral("after"));
}

void TestXlsx::valuesKeepTheirKind()
{
    {
        Document document;
        QVERIFY(document.write("A1", 1));
        QVERIFY(document.write("B1", 2.5));
        QVERIFY(document.write("C1", -0.1));
        QVERIFY(document.write("D1", 1e300));
        QVERIFY(document.write("E1", qint64(9007199254740993LL))); // kept as a double
        QVERIFY(document.write("A2", true));
        QVERIFY(document.write("B2", false));
        QVERIFY(document.write("C2", "text"));
        QVERIFY(document.saveAs(path("values.xlsx")));
    }
    Document document(path("values.xlsx"));
    QVERIFY2(document.isLoadPackage(), qPrintable(document.errorString()));
    QCOMPARE(document.sheetNames(), QStringList {"Sheet1"});
    QCOMPARE(cellDump(document),
        QStringList({"A1 n:1", "B1 n:2.5", "C1 n:-0.1", "D1 n:1e+300", "E1 n:9007199254740992",
            "A2 b:true", "B2 b:false", "C2 s:text"}));
}

void TestXlsx::emptyTextIsACellAbsentCellIsNot()
{
    {
        Document document;
        QVERIFY(document.addSheet("S"));
        QVERIFY(document.write(1, 1, "header"));
        QVERIFY(document.write(4, 2, QString()));
        QVERIFY(document.saveAs(path("empty.xlsx")));
    }
    Document document(path("empty.xlsx"));
    QVERIFY2(document.isLoadPackage(), qPrintable(document.errorString()));
    QCOMPARE(document.read(4, 2).userType(), int(QMetaType::QString));
    QCOMPARE(document.read(4, 2).toString(), QString(""));
    QVERIFY(document.read(4, 1).isNull());
    QVERIFY(!document.read(3, 1).isValid());
    QCOMPARE(document.dimension().toString(), QStringLiteral("A1:B4"));
}

void TestXlsx::writeRefusesWhatASheetCannotHold_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("row 0") << 0 << 1 << QVariant("x");
    QTest::newRow("column 0") << 1 << 0 << QVariant("x");
    QTest::newRow("past the last row") << MaxRows + 1 << 1 << QVariant("x");
    QTest::newRow("past the last column") << 1 << MaxColumns + 1 << QVariant("x");
    QTest::newRow("not a number") << 1 << 1 << QVariant(std::nan(""));
    QTest::newRow("infinity") << 1 << 1 << QVariant(std::numeric_limits<double>::infinity());
    QTest::newRow("no text form") << 1 << 1 << QVariant::fromValue(QPoint(1, 2));
}

void TestXlsx::writeRefusesWhatASheetCannotHold()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QVariant, value);
    Document document;
    QVERIFY(!document.write(row, column, value));
    QVERIFY(!document.dimension().isValid());
}

void TestXlsx::dimensionCoversCellsWithValues()
{
    Document document;
    QVERIFY(document.addSheet("S"));
    QVERIFY(!document.dimension().isValid());
    QCOMPARE(document.dimension().rowCount(), 0);
    QVERIFY(document.write(3, 4, "x"));
    QVERIFY(document.write(7, 2, 5));
    QCOMPARE(document.dimension(), CellRange(3, 2, 7, 4));
    QVERIFY(document.write(7, 2, QVariant())); // clears the cell
    QCOMPARE(document.dimension().toString(), QStringLiteral("D3"));
    QVERIFY(document.write(3, 4, QVariant()));
    QVERIFY(!document.dimension().isValid());
}

void TestXlsx::sheetNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "BIBO" << true;
    QTest::newRow("non-ASCII") << QString::fromUtf8("Pomiary żółte") << true;
    QTest::newRow("31 characters") << QString(31, 'x') << true;
    QTest::newRow("32 characters") << QString(32, 'x') << false;
    QTest::newRow("colon") << "a:b" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("question mark") << "a?" << false;
    QTest::newRow("star") << "a*" << false;
    QTest::newRow("bracket") << "[a]" << false;
    QTest::newRow("leading apostrophe") << "'a" << false;
    QTest::newRow("control character") << "a\nb" << false;
    QTest::newRow("taken in another case") << "existing" << false;
}

void TestXlsx::sheetNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    Document document;
    QVERIFY(document.addSheet("Existing"));
    QCOMPARE(document.addSheet(name), accepted);
    QCOMPARE(document.sheetNames().size(), accepted ? 2 : 1);
    if (!accepted)
        return;
    QVERIFY(document.saveAs(path("names.xlsx")));
    Document back(path("names.xlsx"));
    QCOMPARE(back.sheetNames(), QStringList({"Existing", name}));
}

void TestXlsx::selectSheetFindsExactName()
{
    Document document;
    QVERIFY(document.addSheet());
    QVERIFY(document.addSheet("MEAS"));
    QVERIFY(document.addSheet());
    QCOMPARE(document.sheetNames(), QStringList({"Sheet1", "MEAS", "Sheet3"}));
    QVERIFY(document.selectSheet("MEAS"));
    QVERIFY(document.write(1, 1, "in MEAS"));
    QVERIFY(!document.selectSheet("meas"));
    QVERIFY(!document.selectSheet("CTRL"));
    QCOMPARE(document.currentWorksheet()->sheetName(), QStringLiteral("MEAS"));
    QVERIFY(document.selectSheet("Sheet1"));
    QVERIFY(document.read(1, 1).isNull());
}

void TestXlsx::sheetsKeepTheirOrder()
{
    const QStringList names {"CTRL", "BIBO", "MEAS", "A"};
    {
        Document document;
        for (const QString &name : names) {
            QVERIFY(document.addSheet(name));
            QVERIFY(document.write(1, 1, name + " content"));
        }
        QVERIFY(document.saveAs(path("order.xlsx")));
    }
    Document document(path("order.xlsx"));
    QCOMPARE(document.sheetNames(), names);
    QCOMPARE(document.currentWorksheet()->sheetName(), QStringLiteral("CTRL"));
    for (const QString &name : names) {
        QVERIFY(document.selectSheet(name));
        QCOMPARE(document.read(1, 1).toString(), name + " content");
    }
}

// What spreadsheet programs check before they open a package without a repair
// prompt: every part well-formed, a content type for each, every relationship
// target present, unique sheet ids and names, cell references in order.
void TestXlsx::writtenPackageIsComplete()
{
    {
        Document document;
        QVERIFY(document.addSheet("BIBO"));
        QVERIFY(document.write(1, 1, "ref"));
        QVERIFY(document.write(2, 1, "a\x01 & <b>"));
        QVERIFY(document.write(2, 3, 4.5));
        QVERIFY(document.addSheet("Empty"));
        QVERIFY(document.saveAs(path("complete.xlsx")));
    }
    const QMap<QString, QByteArray> entries = unzip(path("complete.xlsx"));
    QVERIFY(entries.contains("[Content_Types].xml"));
    QVERIFY(entries.contains("_rels/.rels"));

    // Every entry is well-formed XML in UTF-8 with a declaration.
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        QVERIFY2(entry.value().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\""),
            qPrintable(entry.key()));
        QXmlStreamReader xml(entry.value());
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(entry.key() + ": " + xml.errorString()));
    }

    // Each part has a content type; .rels and plain .xml only by default.
    QMap<QString, QString> overrides;
    QStringList defaults;
    QXmlStreamReader types(entries.value("[Content_Types].xml"));
    while (types.readNextStartElement()) {
        if (types.name() == QLatin1String("Override"))
            overrides.insert(types.attributes().value("PartName").toString(),
                types.attributes().value("ContentType").toString());
        else if (types.name() == QLatin1String("Default"))
            defaults.append(types.attributes().value("Extension").toString());
        if (types.name() != QLatin1String("Types"))
            types.skipCurrentElement();
    }
    QVERIFY(defaults.contains("rels"));
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        if (entry.key().endsWith(".rels") || entry.key() == "[Content_Types].xml")
            continue;
        QVERIFY2(overrides.contains("/" + entry.key()), qPrintable(entry.key()));
    }
    for (const QString &part : overrides.keys())
        QVERIFY2(entries.contains(part.mid(1)), qPrintable(part));
    QCOMPARE(overrides.value("/xl/workbook.xml"),
        QStringLiteral(
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"));

    // Every relationship target exists.
    QMap<QString, QString> workbookTargets;
    for (const QString &rels :
        {QStringLiteral("_rels/.rels"), QStringLiteral("xl/_rels/workbook.xml.rels")}) {
        const QString base = rels == "_rels/.rels" ? QString() : QStringLiteral("xl/");
        QXmlStreamReader xml(entries.value(rels));
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("Relationship")) {
                const QString target = base + xml.attributes().value("Target").toString();
                QVERIFY2(entries.contains(target), qPrintable(target));
                if (!base.isEmpty())
                    workbookTargets.insert(xml.attributes().value("Id").toString(), target);
                xml.skipCurrentElement();
            }
        }
    }

    // Sheets: unique ids and names, each tied to a worksheet part.
    QSet<QString> ids;
    QStringList names;
    QXmlStreamReader workbook(entries.value("xl/workbook.xml"));
    while (workbook.readNextStartElement()) {
        if (workbook.name() == QLatin1String("sheet")) {
            const QXmlStreamAttributes attributes = workbook.attributes();
            ids.insert(attributes.value("sheetId").toString());
            names.append(attributes.value("name").toString());
            const QString target = workbookTargets.value(
                attributes
                    .value(
                        "http://schemas.openxmlformats.org/officeDocument/2006/relationships", "id")
                    .toString());
            QVERIFY(target.startsWith("xl/worksheets/"));
            workbook.skipCurrentElement();
        } else if (workbook.name() != QLatin1String("workbook")
            && workbook.name() != QLatin1String("sheets")) {
            workbook.skipCurrentElement();
        }
    }
    QCOMPARE(names, QStringList({"BIBO", "Empty"}));
    QCOMPARE(ids.size(), 2);

    // Cells carry references in row order and column order, and the
    // dimension names the used range.
    const QByteArray sheet = entries.value("xl/worksheets/sheet1.xml");
    QVERIFY(sheet.contains("<dimension ref=\"A1:C2\"/>"));
    QVERIFY(sheet.indexOf("r=\"A1\"") < sheet.indexOf("r=\"A2\""));
    QVERIFY(sheet.indexOf("r=\"A2\"") < sheet.indexOf("r=\"C2\""));
    QVERIFY(sheet.contains("<c r=\"C2\"><v>4.5</v></c>"));
    QVERIFY(entries.value("xl/worksheets/sheet2.xml").contains("<sheetData/>"));
    // The control character is escaped, the XML specials are entities.
    QVERIFY(entries.value("xl/sharedStrings.xml").contains("a_x0001_ &amp; &lt;b&gt;"));
}

void TestXlsx::emptyDocumentSavesOneSheet()
{
    Document empty;
    QVERIFY(empty.saveAs(path("none.xlsx")));
    Document document(path("none.xlsx"));
    QVERIFY(document.isLoadPackage());
    QCOMPARE(document.sheetNames(), QStringList {"Sheet1"});
    QVERIFY(!document.dimension().isValid());
}

void TestXlsx::failedSaveKeepsTheFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder that does not exist") << "missing/out.xlsx";
    QTest::newRow("target is a folder") << "folder";
}

void TestXlsx::failedSaveKeepsTheFile()
{
    QFETCH(QString, target);
    QVERIFY(QDir(dir->path()).mkdir("folder"));
    QFile marker(path("folder/keep.txt"));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.write("keep");
    marker.close();

    Document document;
    QVERIFY(document.write(1, 1, "x"));
    QVERIFY(!document.saveAs(path(target)));
    QVERIFY(!document.errorString().isEmpty());
    QVERIFY(QFileInfo(path("folder")).isDir());
    QVERIFY(QFileInfo::exists(path("folder/keep.txt")));
    QVERIFY(!QFileInfo::exists(path("missing")));
}

void TestXlsx::readsWhatSpreadsheetProgramsWrite_data()
{
    using namespace PackageMaker;
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QByteArray>("sharedStrings");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("dimension");

    const QByteArray sst = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"" + mainNamespace
        + "\" count=\"4\" uniqueCount=\"4\">"
          "<si><t>plain</t></si>"
          "<si><r><rPr><b/><sz val=\"11\"/></rPr><t>Bold</t></r>"
          "<r><rPr><i/></rPr><t xml:space=\"preserve\"> and italic</t></r></si>"
          "<si><t>漢字</t><rPh sb=\"0\" eb=\"2\"><t>かんじ</t></rPh><phoneticPr fontId=\"1\"/></si>"
          "<si><t>a_x000D__x000A_b_x005F_x0041_</t></si>"
          "<si><t/></si></sst>";

    QTest::newRow("shared strings with rich-text and phonetic runs")
        << worksheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                     "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c>"
                     "<c r=\"E1\" t=\"s\"><v>4</v></c></row>")
        << sst
        << QStringList({"A1 s:plain", "B1 s:Bold and italic", QString::fromUtf8("C1 s:漢字"),
               "D1 s:a\r\nb_x0041_", "E1 s:"})
        << "A1:E1";
    QTest::newRow("inline strings, plain and rich")
        << worksheet(
               "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>inline &amp; &lt;</t></is></c>"
               "<c r=\"C2\" t=\"inlineStr\"><is><r><t>ru</t></r><r><rPr/><t>ns</t></r></is></c>"
               "<c r=\"D2\" t=\"inlineStr\"/></row>")
        << QByteArray() << QStringList({"B2 s:inline & <", "C2 s:runs", "D2 s:"}) << "B2:D2";
    QTest::newRow("numbers, booleans, errors and formula results")
        << worksheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" t=\"n\"><v>2.5</v></c>"
                     "<c r=\"C1\"><v>1.1000000000000001</v></c><c r=\"D1\"><v>1E-3</v></c>"
                     "<c r=\"E1\" t=\"b\"><v>1</v></c><c r=\"F1\" t=\"e\"><v>#N/A</v></c>"
                     "<c r=\"G1\" t=\"str\"><f>A1&amp;\"x\"</f><v>1x</v></c>"
                     "<c r=\"H1\"><f>SUM(A1:B1)</f><v>3.5</v></c></row>")
        << QByteArray()
        << QStringList({"A1 n:1", "B1 n:2.5", "C1 n:1.1", "D1 n:0.001", "E1 b:true", "F1 s:#N/A",
               "G1 s:1x", "H1 n:3.5"})
        << "A1:H1";
    QTest::newRow("styled cells without a value are not used") << worksheet(
        "<row r=\"1\" spans=\"1:3\" ht=\"20\" customHeight=\"1\"><c r=\"A1\" s=\"1\" "
        "t=\"s\"><v>0</v></c><c r=\"C1\" s=\"2\"/></row><row r=\"9\"><c r=\"B9\" s=\"3\"/>"
        "</row><row r=\"12\" ht=\"30\"/>") << sst << QStringList({"A1 s:plain"})
                                                               << "A1";
    QTest::newRow("rows and cells without their r attribute")
        << worksheet("<row><c t=\"inlineStr\"><is><t>A</t></is></c><c><v>2</v></c></row>"
                     "<row><c r=\"C2\"><v>3</v></c><c><v>4</v></c></row>"
                     "<row r=\"5\"><c><v>5</v></c></row>")
        << QByteArray() << QStringList({"A1 s:A", "B1 n:2", "C2 n:3", "D2 n:4", "A5 n:5"})
        << "A1:D5";
    QTest::newRow("namespace prefixes")
        << QByteArray("<?xml version=\"1.0\"?><x:worksheet xmlns:x=\"" + mainNamespace
               + "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>pre"
                 "</x:t></x:is></x:c><x:c r=\"B1\"><x:v>7</x:v></x:c></x:row></x:sheetData>"
                 "</x:worksheet>")
        << QByteArray() << QStringList({"A1 s:pre", "B1 n:7"}) << "A1:B1";
    QTest::newRow("elements before and after the sheet data")
        << QByteArray("<?xml version=\"1.0\"?><worksheet xmlns=\"" + mainNamespace
               + "\"><sheetPr><tabColor rgb=\"FFFF0000\"/></sheetPr><dimension ref=\"A1:Z99\"/>"
                 "<cols><col min=\"1\" max=\"1\" width=\"20\"/></cols><sheetData><row r=\"1\">"
                 "<c r=\"A1\"><v>1</v></c></row></sheetData><mergeCells count=\"1\">"
                 "<mergeCell ref=\"A1:B1\"/></mergeCells><pageMargins left=\"0.7\"/></worksheet>")
        << QByteArray() << QStringList({"A1 n:1"}) << "A1";
    QTest::newRow("no sheet data") << QByteArray("<worksheet xmlns=\"" + mainNamespace + "\"/>")
                                   << QByteArray() << QStringList() << "";
}

void TestXlsx::readsWhatSpreadsheetProgramsWrite()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QByteArray, sharedStrings);
    QFETCH(QStringList, cells);
    QFETCH(QString, dimension);
    QVERIFY(
        PackageMaker::write(path("other.xlsx"), PackageMaker::singleSheet(sheet, sharedStrings)));
    Document document(path("other.xlsx"));
    QVERIFY2(document.isLoadPackage(), qPrintable(document.errorString()));
    QCOMPARE(document.sheetNames(), QStringList {"Sheet1"});
    QCOMPARE(cellDump(document), cells);
    QCOMPARE(document.dimension().toString(), dimension);
}

// Sheets listed in another order than their parts, targets written absolute
// or relative, part names in another case, a chart sheet among them, and the
// workbook in a folder of its own: every worksheet is found by its name.
void TestXlsx::findsSheetsThroughRelationships()
{
    using namespace PackageMaker;
    const QByteArray relationshipType
        = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    Parts parts;
    parts["_rels/.rels"]
        = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId3\" Type=\""
        + relationshipType
        + "extended-properties\" "
          "Target=\"docProps/app.xml\"/><Relationship Id=\"rId1\" Type=\""
        + relationshipType + "officeDocument\" Target=\"/book/main.xml\"/></Relationships>";
    parts["book/main.xml"] = "<workbook xmlns=\"" + mainNamespace
        + "\" xmlns:rel=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
          "<bookViews><workbookView/></bookViews><sheets>"
          "<sheet name=\"CTRL\" sheetId=\"7\" rel:id=\"rIdC\"/>"
          "<sheet name=\"Chart1\" sheetId=\"2\" rel:id=\"rIdG\"/>"
          "<sheet name=\"BIBO\" sheetId=\"3\" rel:id=\"rIdB\" state=\"hidden\"/>"
          "<sheet name=\"MEAS\" sheetId=\"1\" rel:id=\"rIdM\"/></sheets>"
          "<definedNames><definedName name=\"x\">CTRL!$A$1</definedName></definedNames></workbook>";
    parts["book/_rels/main.xml.rels"]
        = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rIdM\" Type=\""
        + relationshipType
        + "worksheet\" Target=\"sheets/one.xml\"/>"
          "<Relationship Id=\"rIdB\" Type=\""
        + relationshipType
        + "worksheet\" Target=\"/book/sheets/Two.XML\"/>"
          "<Relationship Id=\"rIdC\" Type=\""
        + relationshipType
        + "worksheet\" Target=\"../book/sheets/three.xml\"/>"
          "<Relationship Id=\"rIdG\" Type=\""
        + relationshipType
        + "chartsheet\" Target=\"charts/c.xml\"/>"
          "<Relationship Id=\"rIdL\" Type=\""
        + relationshipType
        + "hyperlink\" Target=\"http://x/\" TargetMode=\"External\"/>"
          "<Relationship Id=\"rIdS\" Type=\""
        + relationshipType
        + "sharedStrings\" Target=\"strings.xml\"/>"
          "</Relationships>";
    parts["book/strings.xml"] = "<sst xmlns=\"" + mainNamespace + "\"><si><t>shared</t></si></sst>";
    parts["book/sheets/one.xml"] = worksheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>");
    parts["book/sheets/two.xml"] = worksheet("<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>");
    parts["book/sheets/three.xml"] = worksheet("<row r=\"1\"><c r=\"A1\"><v>3</v></c></row>");
    parts["book/charts/c.xml"] = "<chartsheet xmlns=\"" + mainNamespace + "\"/>";
    QVERIFY(write(path("related.xlsx"), parts));

    Document document(path("related.xlsx"));
    QVERIFY2(document.isLoadPackage(), qPrintable(document.errorString()));
    QCOMPARE(document.sheetNames(), QStringList({"CTRL", "BIBO", "MEAS"}));
    QVERIFY(!document.selectSheet("Chart1"));
    QVERIFY(document.selectSheet("MEAS"));
    QCOMPARE(document.read(1, 1).toString(), QStringLiteral("shared"));
    QVERIFY(document.selectSheet("BIBO"));
    QCOMPARE(document.read(1, 1).toString(), QStringLiteral("2"));
    QVERIFY(document.selectSheet("CTRL"));
    QCOMPARE(document.read(1, 1).toString(), QStringLiteral("3"));
}

void TestXlsx::refusesDamagedWorkbooks_data()
{
    using namespace PackageMaker;
    QTest::addColumn<Parts>("parts");
    QTest::addColumn<QByteArray>("plainFile"); // written instead of a package when not empty

    const Parts good = singleSheet(worksheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
    QTest::newRow("not a zip archive") << Parts() << QByteArray("ref;visible\n1;1\n");
    QTest::newRow("empty file") << Parts() << QByteArray("\0", 1);
    Parts noWorkbook = good;
    noWorkbook.remove("xl/workbook.xml");
    QTest::newRow("no workbook part") << noWorkbook << QByteArray();
    Parts noRelationships = good;
    noRelationships.remove("xl/_rels/workbook.xml.rels");
    QTest::newRow("no workbook relationships") << noRelationships << QByteArray();
    Parts noSheet = good;
    noSheet.remove("xl/worksheets/sheet1.xml");
    QTest::newRow("sheet part missing") << noSheet << QByteArray();
    QTest::newRow("truncated sheet XML")
        << singleSheet(worksheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>").left(120))
        << QByteArray();
    QTest::newRow("sheet part is not a worksheet")
        << singleSheet("<html><body>x</body></html>") << QByteArray();
    QTest::newRow("shared string out of range")
        << singleSheet(worksheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>"),
               "<sst xmlns=\"" + mainNamespace + "\"><si><t>only</t></si></sst>")
        << QByteArray();
    QTest::newRow("shared string without a table")
        << singleSheet(worksheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"))
        << QByteArray();
    QTest::newRow("bad cell reference")
        << singleSheet(worksheet("<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>")) << QByteArray();
    QTest::newRow("row 0") << singleSheet(worksheet("<row r=\"0\"><c><v>1</v></c></row>"))
                           << QByteArray();
    QTest::newRow("row past the sheet")
        << singleSheet(worksheet("<row r=\"1048577\"><c><v>1</v></c></row>")) << QByteArray();
    QTest::newRow("column past the sheet")
        << singleSheet(worksheet("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>"))
        << QByteArray();
    QTest::newRow("malformed shared strings")
        << singleSheet(worksheet(""), "<sst xmlns=\"" + mainNamespace + "\"><si><t>open</si></sst>")
        << QByteArray();
}

void TestXlsx::refusesDamagedWorkbooks()
{
    QFETCH(PackageMaker::Parts, parts);
    QFETCH(QByteArray, plainFile);
    if (plainFile.isEmpty()) {
        QVERIFY(PackageMaker::write(path("damaged.xlsx"), parts));
    } else {
        QFile file(path("damaged.xlsx"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(plainFile);
    }
    Document document(path("damaged.xlsx"));
    QVERIFY(!document.isLoadPackage());
    QVERIFY(!document.errorString().isEmpty());
    QVERIFY(document.sheetNames().isEmpty());
    QVERIFY(!document.selectSheet("Sheet1"));
    QVERIFY(!document.dimension().isValid());

    Document missing(path("no such file.xlsx"));
    QVERIFY(!missing.isLoadPackage());
}

// A bit flipped inside the compressed data of a worksheet is caught by the
// decompression or the checksum: the workbook is not read at all.
void TestXlsx::refusesDamagedZipEntry()
{
    {
        Document document;
        QVERIFY(document.addSheet("S"));
        for (int row = 1; row <= 200; ++row)
            QVERIFY(document.write(row, 1, row * 3.25));
        QVERIFY(document.saveAs(path("flipped.xlsx")));
    }
    QFile file(path("flipped.xlsx"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const QByteArray name = "xl/worksheets/sheet1.xml";
    int local = bytes.indexOf(name);
    QVERIFY(local >= 30);
    local -= 30; // start of the local file header
    QCOMPARE(bytes.mid(local, 4), QByteArray("PK\x03\x04"));
    const int nameLength = uchar(bytes[local + 26]) | uchar(bytes[local + 27]) << 8;
    const int extraLength = uchar(bytes[local + 28]) | uchar(bytes[local + 29]) << 8;
    const int data = local + 30 + nameLength + extraLength;
    bytes[data + 40] = char(bytes[data + 40] ^ 0x5A);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();

    Document document(path("flipped.xlsx"));
    QVERIFY(!document.isLoadPackage());
    QVERIFY2(document.errorString().contains("sheet1.xml"), qPrintable(document.errorString()));
}

void TestXlsx::scansXml_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("tokens");

    const QString badTag = QStringLiteral("!a tag with a name XML does not allow");
    QTest::newRow("NUL after a wanted element name")
        << QByteArray("<sst><si\0abc></si\0abc></sst>", 29) << QStringList {"<sst", badTag};
    QTest::newRow("NUL inside a row tag") << QByteArray("<sheetData><row\0x r=\"2\"/></sheetData>",
        37) << QStringList {"<sheetData", badTag};
    QTest::newRow("NUL after a one-letter name") << QByteArray("<t\0>", 4) << QStringList {badTag};
    QTest::newRow("seven bytes of the fuzzer")
        << QByteArray("\x20\x01\x00<t\x00>", 7) << QStringList {"!text outside the root element"};
    QTest::newRow("NUL in an attribute name") << QByteArray(
        "<c r\0=\"1\"/>", 11) << QStringList {"!an attribute with a name XML does not allow"};
    QTest::newRow("name starting with a digit") << QByteArray("<1c/>") << QStringList {badTag};
    QTest::newRow("prefixed names") << QByteArray("<x:row x:r=\"7\"><x:c/></x:row>")
                                    << QStringList {"<row is row r=7", "<c is c", "</c", "</row"};
    QTest::newRow("name that only begins like a wanted one")
        << QByteArray("<rows><sis/></rows>") << QStringList {"<rows", "<sis", "</sis", "</rows"};
    QTest::newRow("references with leading zeros")
        << QByteArray("<t>&#x0000000041;&#0000066;&#x00000000000000000000043;</t>")
        << QStringList {"<t is t", "ABC", "</t"};
    QTest::newRow("reference in an attribute")
        << QByteArray("<c r=\"&#x0000000041;1\"/>") << QStringList {"<c is c r=A1", "</c"};
    QTest::newRow("reference past the last character")
        << QByteArray("<t>&#x0000110000;</t>")
        << QStringList {"<t is t", "!a character reference to no XML character: &#x0000110000;"};
    QTest::newRow("reference without digits")
        << QByteArray("<t>&#x;</t>")
        << QStringList {"<t is t", "!a character reference to no XML character: &#x;"};
    QTest::newRow("reference with a sign")
        << QByteArray("<t>&#+65;</t>")
        << QStringList {"<t is t", "!a character reference to no XML character: &#+65;"};
    QTest::newRow("unterminated reference") << QByteArray(
        "<t>&#65</t>") << QStringList {"<t is t", "!an unterminated entity reference"};
    QTest::newRow("entities, CDATA and line ends")
        << QByteArray("<?xml version=\"1.0\"?>\r\n<t a=\"x\ty\">&lt;&amp;&gt;&quot;&apos;"
                      "<![CDATA[<&\r\n]]>\r</t><!-- end -->\n")
        << QStringList {"<t is t", "<&>\"'", "<&\n", "\n", "</t"};
    QTest::newRow("skipped markup and text")
        << QByteArray("<a><!-- x --><?pi y?>z</a>") << QStringList {"<a", "z", "</a"};
    QTest::newRow("mismatched end tag")
        << QByteArray("<a><b></a>") << QStringList {"<a", "<b", "!end tag </a> does not match <b>"};
    QTest::newRow("part that ends inside a tag")
        << QByteArray("<a><b x=\"1") << QStringList {"<a", "!the part ends inside a tag"};
}

// Whatever the bytes, the scanner gives well-formed tokens or one error, and a
// name matches a wanted one only when it is that name (under AddressSanitizer:
// without reading past the wanted name).
void TestXlsx::scansXml()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, tokens);
    for (const int piece : {1, 3, 64 * 1024}) {
        const std::unique_ptr<XmlScanner> scanner = scannerOver(xml, piece);
        QCOMPARE(scanAll(*scanner), tokens);
    }
}

// The bound on one text is not a bound on the table: strings that together
// pass it are read, a single string past it is refused.
void TestXlsx::sharedStringsBoundedPerText()
{
    const int bound = 1024;
    QByteArray table = "<sst>";
    QStringList texts;
    for (int i = 0; i < 40; ++i) {
        texts.append(QStringLiteral("%1 ").arg(i) + QString(100, QLatin1Char('x')));
        table += "<si><r><t>" + texts.last().left(50).toUtf8() + "</t></r><r><t>"
            + texts.last().mid(50).toUtf8() + "</t></r></si>";
    }
    table += "<si><t>_x0041_</t></si></sst>";
    {
        const std::unique_ptr<XmlScanner> xml = scannerOver(table, 4096, bound);
        SharedStrings strings;
        QVERIFY2(strings.read(*xml), qPrintable(strings.errorString()));
        QCOMPARE(strings.size(), 41);
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(QString::fromUtf8(strings.text(i)), texts.at(i));
        QCOMPARE(strings.text(40), QByteArray("A"));
    }
    const QByteArray oneLong = "<sst><si><t>" + QByteArray(600, 'a') + "</t><t>"
        + QByteArray(600, 'b') + "</t></si></sst>";
    const std::unique_ptr<XmlScanner> xml = scannerOver(oneLong, 4096, bound);
    SharedStrings strings;
    QVERIFY(!strings.read(*xml));
    QCOMPARE(strings.errorString(), QStringLiteral("a text is longer than 1024 bytes"));
}

QTEST_GUILESS_MAIN(TestXlsx)
#include "tst_xlsx.moc"
