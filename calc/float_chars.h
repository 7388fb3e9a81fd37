#pragma once
// Doubles to and from decimal text, exactly as std::to_chars and std::from_chars give them. Where
// the standard library lacks their floating-point forms (the web build's libc++), the C library's
// snprintf and strtod do the work: they are exact there as well, and in the C locale, the only one
// the web runtime has, they write and read the same texts.

#include <charconv>

namespace quillomat {

// std::to_chars(first, last, value, format, precision) for format fixed, scientific or general:
// the text printf's %.*f, %.*e or %.*g writes in the C locale.
std::to_chars_result DoubleToChars(char* first, char* last, double value, std::chars_format format, int precision);

// std::from_chars(first, last, value) for a number "digits[.digits][e[sign]digits]": the double
// nearest it, or result_out_of_range, value left as it was, for a number beyond the largest double
// or one that only zero is nearer to.
std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value);

}  // namespace quillomat
