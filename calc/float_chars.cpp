#include "float_chars.h"

#include <version>

#ifndef __cpp_lib_to_chars
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#endif

namespace quillomat {

#ifdef __cpp_lib_to_chars

std::to_chars_result DoubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
  return std::to_chars(first, last, value, format, precision);
}

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}

#else

std::to_chars_result DoubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
  const char* conversion = format == std::chars_format::fixed        ? "%.*f"
                           : format == std::chars_format::scientific ? "%.*e"
                                                                     : "%.*g";
  // Written aside first: snprintf ends its text with a zero, to_chars writes nothing past its own.
  char text[64];
  const int written = std::snprintf(text, sizeof text, conversion, precision, value);
  if (written < 0 || static_cast<std::size_t>(written) > static_cast<std::size_t>(last - first))
    return {last, std::errc::value_too_large};
  const auto length = static_cast<std::size_t>(written);
  if (length < sizeof text) {
    std::memcpy(first, text, length);
  } else {
    std::string longer(length + 1, '\0');
    std::snprintf(longer.data(), longer.size(), conversion, precision, value);
    std::memcpy(first, longer.data(), length);
  }
  return {first + length, std::errc{}};
}

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  const std::string number(first, last);  // strtod reads to a terminating zero
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(number.c_str(), &end);
  const auto used = end - number.c_str();
  if (used == 0) return {first, std::errc::invalid_argument};
  // strtod sets ERANGE for every result below the normal range as well; from_chars reports only
  // one that had to become zero or infinite.
  if (errno == ERANGE && (read == 0 || std::isinf(read))) return {first + used, std::errc::result_out_of_range};
  value = read;
  return {first + used, std::errc{}};
}

#endif

}  // namespace quillomat
