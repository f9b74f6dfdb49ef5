// Numbers in style texts: reading the leading decimal number, writing the
// shortest decimal form, rounding halves to even.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "text/ustring.h"

namespace qp {

// The text's leading decimal number: optional sign, digits, optional "." and
// fraction. 0 when the text does not start with one.
double LeadingNumber(TextView text);

// The whole text is a decimal number (optional sign, "." as decimal point,
// blanks around it allowed).
std::optional<double> ParseDecimal(TextView text);

// Shortest decimal form with up to 15 significant digits (double) or 7
// (single precision), no trailing zeros, no point for whole numbers.
Text FormatNumber(double value);
Text FormatSingle(float value);
Text FormatInteger(long long value);

// Nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);

// strtod and fixed-point formatting that always use "." whatever locale the
// process runs in: the windows' toolkit takes the user's locale, and a page
// must not get "10,5pt" from a German desktop.
double ParseDoubleC(const char* text, char** end);
// `value` with `decimals` digits after the point, as "%.Nf" in the C locale.
std::string FormatFixedC(double value, int decimals);

// An RGB colour, its low 24 bits, as "#RRGGBB": pages and drawings alike.
std::string HexRgb(long rgb);

}  // namespace qp
