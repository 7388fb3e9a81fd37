#pragma once
// The number and text layer: every number the program takes or shows passes through a text.
// Nothing here throws; every function is a pure function of its arguments.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillomat {

// The number the text begins with (blanks before it and a leading sign allowed, an exponent
// accepted); 0 for the empty text and for a text that does not begin with a number. A number
// beyond the double range reads as an infinity of its sign, one too small for it as a zero.
double ReadNumber(std::u16string_view text);

// The exact value of the Single, correctly rounded to 7 significant digits, as plain decimal text
// ("0.25", "0.3333333", "1", "-2.5"); exponent form ("1E-05", "3.402823E+38") outside 1E-04..1E+07.
std::u16string SingleToText(float value);

// The integer in decimal, "-" before a negative value.
std::u16string IntegerToText(std::int16_t value);

// The text's Percentage text: a number written as SingleToText or IntegerToText write it is
// multiplied by 100 and rounded to two decimals, halves away from zero, in decimal arithmetic
// ("0.08475725" gives "08.48%"). Any other text, a Percentage text included, comes back unchanged.
std::u16string FormatPercent(std::u16string_view text);

// Negative, 0 or positive as left sorts before, equal to or after right by 16-bit character code.
int CompareText(std::u16string_view left, std::u16string_view right);

}  // namespace quillomat
