#pragma once

// Failures whose texts come from a library a line uses (TLS: "certificate
// verify failed", "tlsv13 alert certificate required", ...). Each distinct
// text gets an error code of its own, so it travels in errno like every
// other failure and errorText() gives it back.

#include <string>

namespace Modbus {

// The code of the text; a text seen before keeps its code. Codes are never
// reused, so a code kept for later still names its text.
int lineErrorCode(const std::string &text);
// The text of a code from lineErrorCode(); null for every other code.
const char *lineErrorText(int code);

} // namespace Modbus
