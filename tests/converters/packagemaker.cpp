#include "packagemaker.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace PackageMaker {

const QByteArray mainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

bool write(const QString &fileName, const Parts &parts)
{
    QuaZip zip(fileName);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    bool ok = true;
    for (auto part = parts.cbegin(); part != parts.cend(); ++part) {
        QuaZipFile file(&zip);
        ok = ok && file.open(QIODevice::WriteOnly, QuaZipNewInfo(part.key()));
        ok = ok && file.write(part.value()) == part.value().size();
        file.close();
        ok = ok && file.getZipError() == ZIP_OK;
    }
    zip.close();
    return ok && zip.getZipError() == ZIP_OK;
}

Parts singleSheet(
    const QByteArray &sheetXml, const QByteArray &sharedStringsXml, const QString &sheetName)
{
    Parts parts;
    parts["[Content_Types].xml"]
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
          "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"rels\" "
          "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
    parts["_rels/.rels"]
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts["xl/workbook.xml"] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\""
        + mainNamespace
        + "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
          "<sheets><sheet name=\""
        + sheetName.toUtf8() + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    QByteArray relationships
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!sharedStringsXml.isEmpty()) {
        relationships += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/"
                         "officeDocument/2006/relationships/sharedStrings\" "
                         "Target=\"sharedStrings.xml\"/>";
        parts["xl/sharedStrings.xml"] = sharedStringsXml;
    }
    parts["xl/_rels/workbook.xml.rels"] = relationships + "</Relationships>";
    parts["xl/worksheets/sheet1.xml"] = sheetXml;
    return parts;
}

QByteArray worksheet(const QByteArray &sheetData)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"" + mainNamespace
        + "\"><sheetData>" + sheetData + "</sheetData></worksheet>";
}

} // namespace PackageMaker
