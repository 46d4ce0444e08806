#pragma once

#include "macrorequest.h"

#include <QString>
#include <QStringList>

// The device macros known by name and the rules by which each one's parameter
// text becomes parameter words.
//
// Unless a macro's rule says otherwise the text is split at every single blank,
// empty tokens included, the token count must match exactly, and every token
// is an unsigned decimal number (digits only) that must fit the word (or
// byte) it is sent in. Nothing is ever cut to fit: a number too wide for its
// word is a parse failure, so a wrong value never reaches a device. A text
// with a control character (a line break, a tab, ...) fails for every macro.
namespace MacroCatalogue {

// Looks the name up (exact, case-sensitive) and parses the text by its rule.
// On success fills *request and returns true; on failure leaves *request
// untouched and returns false.
bool parse(const QString &name, const QString &text, MacroRequest *request);

// The macro names, in catalogue order.
QStringList names();

// The name of the macro with this code and specification byte; empty when
// the catalogue has none (the free macro FD_MACRO_SET has no code of its own).
QString nameOf(quint16 code, quint8 specification);

} // namespace MacroCatalogue
