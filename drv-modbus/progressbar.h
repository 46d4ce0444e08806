#pragma once

#include <QString>

// The progress bar of range reads and block writes, as report markup:
// "[" + 50 cells + "]&nbsp;" + percent + "&nbsp;%". With percent = done * 100
// / total and half = percent / 2, cell k (1 to 50) is "=" below half, ">" at
// half and a blank above. A total of 0 or less shows 0 %.
namespace ProgressBar {

QString markup(int done, int total);

} // namespace ProgressBar
