#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The text-held counters: a count kept only as a label's caption, read as a number, decremented
// and written back as canonical plain decimal text, and tested by exact text comparison.
namespace counter {

// Reads a whole text as a number in double precision: surrounding blanks, an optional sign,
// digits with an optional decimal part (the decimal point is always "."), and an optional
// exponent. Anything else, the empty text, or a value beyond double's range reads as nothing.
std::optional<double> readNumber(QStringView text);

// Plain decimal text of a value, to 15 significant digits: no exponent, no leading blank, no
// thousands separator, no trailing zero decimals, a minus sign for negative values.
QString canonicalText(double value);

// The caption that follows `caption` when a counter counts down one. A caption that does not
// read as a number is left as it is: such a counter stands still.
QString decrement(QStringView caption);

} // namespace counter
