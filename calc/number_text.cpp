#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "decimal_text.h"
#include "float_chars.h"

namespace quillomat {
namespace {

// FormatPercent writes out at most this many digits; a text that would need more (no Single
// comes near) is given back as it stands rather than grown without bound.
constexpr std::int64_t kMaxPercentDigits = 4096;

// --- ReadNumber -------------------------------------------------------------------------------

// "digits[.digits][(E|e)[sign]digits]" from pos on, in ASCII; empty if no digit comes first.
std::string NumericPrefix(std::u16string_view text, std::size_t pos) {
  std::string number;
  TakeDigits(text, pos, number);
  if (pos < text.size() && text[pos] == u'.') {
    number.push_back('.');
    TakeDigits(text, ++pos, number);
  }
  if (number.find_first_of("0123456789") == std::string::npos) return {};

  if (pos < text.size() && (text[pos] == u'E' || text[pos] == u'e')) {
    std::size_t next = pos + 1;
    std::string exponent = "e";
    if (next < text.size() && (text[next] == u'+' || text[next] == u'-'))
      exponent.push_back(static_cast<char>(text[next++]));
    const std::size_t digitsAt = exponent.size();
    TakeDigits(text, next, exponent);
    if (exponent.size() > digitsAt) number += exponent;
  }
  return number;
}

// For a number found out of range: is it too large, rather than too small?
bool IsBeyondLargest(std::string_view number) {
  const auto exponentAt = number.find('e');
  const auto mantissa = number.substr(0, exponentAt);
  const auto first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  const auto point = std::min(mantissa.find('.'), mantissa.size());
  // Power of ten of the first significant digit.
  std::int64_t power =
      first < point ? static_cast<std::int64_t>(point - first) - 1 : -static_cast<std::int64_t>(first - point);
  if (exponentAt != std::string_view::npos) {
    std::size_t pos = exponentAt + 1;
    const bool negative = number[pos] == '-';
    if (number[pos] == '-' || number[pos] == '+') ++pos;
    std::int64_t exponent = 0;
    // Clamped beyond any text's length, so the sum below keeps its sign.
    for (; pos < number.size(); ++pos)
      exponent = std::min<std::int64_t>(exponent * 10 + (number[pos] - '0'), 1'000'000'000'000'000);
    power += negative ? -exponent : exponent;
  }
  return power > 0;
}

// --- FormatPercent ----------------------------------------------------------------------------

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// value * 100 rounded to two decimals, halves away from zero, as a count of hundredths: the
// digits of a non-zero number up to the second decimal of its percentage, rounded on the next.
std::string PercentHundredths(const Decimal& number) {
  // Digits kept: those down to the second decimal of value * 100.
  const std::int64_t kept = number.exponent + 4;
  if (kept <= 0) return kept == 0 && number.digits[0] >= '5' ? "1" : "0";
  const auto keep = static_cast<std::size_t>(kept);
  std::string hundredths = number.digits.substr(0, keep);
  hundredths.resize(keep, '0');
  if (keep < number.digits.size() && number.digits[keep] >= '5') Increment(hundredths);
  return hundredths;
}

}  // namespace

double ReadNumber(std::u16string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';

  const std::string number = NumericPrefix(text, pos);
  if (number.empty()) return 0.0;
  double value = 0.0;
  const auto result = DoubleFromChars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range)
    value = IsBeyondLargest(number) ? std::numeric_limits<double>::infinity() : 0.0;
  return negative ? -value : value;
}

std::u16string SingleToText(float value) {
  if (std::isnan(value)) return u"NaN";
  if (std::isinf(value)) return value < 0 ? u"-Infinity" : u"Infinity";
  if (value == 0.0f) return u"0";  // -0 as well
  // printf's %.7g: the exact value correctly rounded to 7 digits, trailing zeros dropped, and
  // exponent form for decimal exponents outside -4..6.
  char buffer[32];
  const auto result =
      DoubleToChars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 7);
  std::u16string text = Widen(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
  std::replace(text.begin(), text.end(), u'e', u'E');
  return text;
}

std::u16string IntegerToText(std::int16_t value) {
  char buffer[8];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Widen(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

std::u16string FormatPercent(std::u16string_view text) {
  const auto number = ParseDecimal(text);
  if (!number || number->exponent + 4 > kMaxPercentDigits) return std::u16string(text);

  std::string hundredths = number->IsZero() ? "0" : PercentHundredths(*number);
  hundredths.erase(0, std::min(hundredths.find_first_not_of('0'), hundredths.size()));
  const bool negative = number->negative && !hundredths.empty();
  if (hundredths.size() < 4) hundredths.insert(0, 4 - hundredths.size(), '0');

  std::u16string percent;
  percent.reserve(hundredths.size() + 3);
  if (negative) percent.push_back(u'-');
  percent.append(hundredths.begin(), hundredths.end() - 2);
  percent.push_back(u'.');
  percent.append(hundredths.end() - 2, hundredths.end());
  percent.push_back(u'%');
  return percent;
}

int CompareText(std::u16string_view left, std::u16string_view right) {
  const int order = left.compare(right);
  return (order > 0) - (order < 0);
}

}  // namespace quillomat
