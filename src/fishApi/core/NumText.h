// Numbers as text, in both directions, with the decimal separator given by
// the caller (the user's locale; the engine never picks one itself).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FishTypes.h"

namespace fish {

// General format with at most 15 significant digits: fixed notation for
// 1E-4 <= |v| < 1E15, otherwise d.dddE[-]x; trailing zeros dropped, no
// separator for whole numbers, zero (of either sign) written as "0".
// A NaN, an infinity or an unnormal is an invalid operation; a pseudo-denormal
// is printed as the number it stands for, as the processor computes with it.
std::string floatToText(Extended v, std::string_view decimalSeparator = ".");

// v rounded to `decimals` places (0 to 6; x * 10^decimals rounded to an
// integer, halves to even) in the format of floatToText: 70.714 with 2 is
// "70.71", 2.5 with 2 is "2.5", 1E20 with 2 is "1E20".
std::string decimalText(Extended v, int decimals, std::string_view decimalSeparator = ".");

// Strict conversion of a typed number: optional blanks around it, an optional
// sign, digits with at most one decimal separator (at least one digit in all),
// an optional exponent (E or e, optional sign, digits). Nothing else: no
// "inf", "nan", hexadecimal or group separators. A value beyond the extended
// range is refused; one too small for it becomes 0 or a denormal.
// Returns false, leaving `out` alone, when the text is refused.
bool textToFloat(std::string_view text, std::string_view decimalSeparator, Extended& out);

// A whole number in decimal, optional blanks and sign around it, in 32 bits.
bool textToInt32(std::string_view text, std::int32_t& out);

}  // namespace fish
