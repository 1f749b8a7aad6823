#pragma once
// How numbers travel between window texts and the calculation.
#include <string>
#include <string_view>

namespace kalvar {

// Reads the leading number of a window text: every "," counts as ".", leading blanks are
// skipped, an optional sign, digits, a fraction and an exponent are taken; anything else ends
// the number. Empty or non-numeric text reads as 0. Too large a number reads as ±infinity,
// which the calculation refuses with a message.
double readNumber(std::string_view text);

// Writes x with a fixed number of decimals (the patterns "0", "0.0", … "0.000000"), rounded
// half away from zero on the exact binary value, with the given decimal separator.
// A value that is not finite is written as an empty text and counted (see nonFiniteWrites).
std::string formatNumber(double x, int decimals, std::string_view decimalSeparator = ".");

// How many non-finite values formatNumber was asked to write since the process started; the
// fuzz target checks that this stays 0.
long nonFiniteWrites();

// Replaces every occurrence of `from` by `to`.
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

} // namespace kalvar
