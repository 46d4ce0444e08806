#pragma once

#include <QString>

class QByteArray;

// Text of cells and shared strings as spreadsheet programs store it.
//
// XML cannot carry most control characters at all, and a literal carriage
// return is turned into a line feed by every XML reader. Spreadsheet programs
// therefore write a character that XML cannot hold as "_xHHHH_" (its UTF-16
// code in hexadecimal) and a literal "_xHHHH_" in the text with its underscore
// escaped as "_x005F_". Carriage returns are written as the character
// reference "&#13;", which every reader turns back into a carriage return.
namespace QXlsx::CellText {

// Appends <t>text</t> as UTF-8 XML, with xml:space="preserve" when the text
// has blanks at its ends or line breaks that a reader might trim.
void appendTextElement(QByteArray *xml, const QString &text);
// Appends text as UTF-8 XML character data: escaped as above, then "&", "<"
// and ">" as entities.
void appendCharacters(QByteArray *xml, const QString &text);

// The escaped form of a text, before XML escaping: characters that XML cannot
// hold become "_xHHHH_", and so does an underscore that would otherwise read
// as the start of such an escape ("_xHHHH" followed by "_" or by a character
// escaped); a surrogate without its partner becomes U+FFFD.
QString escape(const QString &text);

// Whether escape() changes the text.
bool needsEscape(const QString &text);

// Turns every "_xHHHH_" of stored text back into its character.
QString unescape(const QString &text);
// The same on UTF-8 text, appended to *out: two escapes of a surrogate pair
// give their character, a surrogate without its partner gives U+FFFD.
void appendUnescaped(QByteArray *out, const QByteArray &stored);

} // namespace QXlsx::CellText
