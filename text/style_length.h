// Lengths as documents write them, in CSS px (96 to the inch): the inline
// styles of VML ("width:12pt;margin-left:-3.5in") and DrawingML's English
// Metric Units.
#pragma once

#include <string>
#include <string_view>

namespace qp {

// DrawingML measures in EMU: 914,400 to the inch.
inline constexpr double kEmuPerPx = 9525;
inline constexpr double kEmuPerPt = 12700;

// The value of one property of an inline style ("width:100pt;height:50pt"),
// as written after its colon; empty when the style lacks it.
std::string_view StyleValue(std::string_view style, std::string_view key);

// A length in px, signed: a number with pt, in, cm, mm or emu after it; a
// bare number, or one with another unit, stands as it is (px, or the units
// of the parent's coordinate space). `fallback` when the text holds no
// finite number; the result is bounded to +-1e7.
double StyleLengthPx(std::string_view value, double fallback);

}  // namespace qp
