#pragma once

class QLabel;
class QString;

// Labels whose text changes all the time (readings, counters) keep a fixed
// size that only grows when a text does not fit. A label whose size follows
// its text lays its window out again on every change, and in a large project
// that means every row of a list; a size that stays put repaints the label
// alone.
namespace steadyLabel {

// Fixes the label's size: its size hint for the text widest, and at least
// its minimum size.
void fix(QLabel *label, const QString &widest);
// Sets the text, widening the label first when the text does not fit.
void setText(QLabel *label, const QString &text);

} // namespace steadyLabel
