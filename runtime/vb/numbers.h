// Number conversions as the VB runtime does them.
#pragma once

#include <string>
#include <string_view>

namespace vb {

// Str of a Single: the value in decimal with "." as the decimal point, at most 7 significant
// digits, and a leading blank in place of the sign when the value is not negative. Like the
// runtime, a fraction below 1 has no leading zero (" .5") and large or tiny values use an
// exponent (" 1.234568E+07").
std::string Str(float value);

// Val as the settings store reads numbers back: leading blanks skipped, then the longest prefix
// that forms a decimal number (sign, digits, ".", digits, exponent); 0 when there is none.
double Val(std::string_view text);

// Rounds to the nearest whole number, halves to even (CLng, and the twips-to-pixels conversion).
long RoundHalfEven(double value);

}  // namespace vb
