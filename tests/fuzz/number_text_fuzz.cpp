// libFuzzer target for the number and text layer. Any text and any Single must be handled without
// a crash, and the results must keep the layer's promises; a broken promise traps.
//
// Input layout: byte 0 chooses how the rest is read as a text (even: one character per byte,
// odd: 16-bit characters from byte pairs); bytes 1..4, when present, are also a Single's bits
// and bytes 1..2 a 16-bit integer. The text is also split in two halves for CompareText.

#include "calc/number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using quillomat::CompareText;
using quillomat::FormatPercent;
using quillomat::IntegerToText;
using quillomat::ReadNumber;
using quillomat::SingleToText;

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int Sign(int value) { return (value > 0) - (value < 0); }

// The value of a Percentage text without its "%", or NaN when the text is not one:
// "-"? digits (at least two; no leading zero when more than two) "." two digits "%", and a "-"
// only in front of a value that is not zero.
double PercentValue(std::u16string_view text) {
  const double bad = std::nan("");
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (negative) ++i;
  const std::size_t whole_start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t whole = i - whole_start;
  if (whole < 2 || (whole > 2 && text[whole_start] == u'0')) return bad;
  if (text.size() != i + 4 || text[i] != u'.' || !IsDigit(text[i + 1]) || !IsDigit(text[i + 2]) ||
      text[i + 3] != u'%') {
    return bad;
  }
  bool all_zero = true;
  for (std::size_t j = whole_start; j < i + 3; ++j) all_zero = all_zero && (text[j] == u'0' || text[j] == u'.');
  if (negative && all_zero) return bad;
  return ReadNumber(text.substr(0, text.size() - 1));
}

// The parts of a text as SingleToText writes it, or ok = false when it is not in that form:
// "0"; plain "-"? (digits without a leading zero | "0") ("." digits not ending in "0")?; or
// exponent form "-"? digit ("." digits not ending in "0")? "E" sign two or more digits.
struct SingleText {
  bool ok = false;
  bool exponent_form = false;
  std::u16string digits;  // significant digits, no leading or trailing zeros
  int leading_power = 0;  // the decimal power of the first significant digit
};

SingleText ParseSingleText(std::u16string_view text) {
  SingleText out;
  if (text == u"0") {
    out.ok = true;
    out.digits = u"0";
    return out;
  }
  std::size_t i = 0;
  if (i < text.size() && text[i] == u'-') ++i;
  const std::size_t whole_start = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::u16string_view whole = text.substr(whole_start, i - whole_start);
  if (whole.empty() || (whole.size() > 1 && whole[0] == u'0')) return out;
  std::u16string_view fraction;
  if (i < text.size() && text[i] == u'.') {
    const std::size_t start = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    fraction = text.substr(start, i - start);
    if (fraction.empty() || fraction.back() == u'0') return out;
  }
  int power_shift = 0;
  if (i < text.size() && text[i] == u'E') {
    out.exponent_form = true;
    if (whole.size() != 1 || whole[0] == u'0') return out;
    ++i;
    if (i >= text.size() || (text[i] != u'+' && text[i] != u'-')) return out;
    const bool negative = text[i] == u'-';
    const std::size_t start = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i - start < 2 || i - start > 3) return out;
    for (std::size_t j = start; j < i; ++j) power_shift = power_shift * 10 + (text[j] - u'0');
    if (negative) power_shift = -power_shift;
  }
  if (i != text.size()) return out;

  std::u16string all(whole);
  all += fraction;
  const std::size_t first = all.find_first_not_of(u'0');
  if (first == std::u16string::npos) return out;  // "-0", "0.0" ...: zero is written "0"
  const std::size_t last = all.find_last_not_of(u'0');
  out.digits = all.substr(first, last - first + 1);
  out.leading_power = static_cast<int>(whole.size()) - 1 - static_cast<int>(first) + power_shift;
  out.ok = true;
  return out;
}

// The Percentage text of a number in the form above, by moving its decimal digits: 100 times
// the value in hundredths is digits * 10^(leading_power - (count - 1) + 4), rounded to a whole
// number halves away from zero.
std::u16string ExpectedPercent(const SingleText& parsed, bool negative) {
  std::u16string digits = parsed.digits;
  const int shift = parsed.leading_power - (static_cast<int>(digits.size()) - 1) + 4;
  if (shift >= 0) {
    digits.append(static_cast<std::size_t>(shift), u'0');
  } else {
    const auto cut = static_cast<std::size_t>(-shift);
    if (digits.size() <= cut) digits.insert(0, cut + 1 - digits.size(), u'0');
    const bool up = digits[digits.size() - cut] >= u'5';
    digits.resize(digits.size() - cut);
    for (std::size_t i = digits.size(); up && i-- > 0;) {
      if (digits[i] == u'9') {
        digits[i] = u'0';
        if (i == 0) digits.insert(0, 1, u'1');
      } else {
        ++digits[i];
        break;
      }
    }
  }
  const std::size_t first = digits.find_first_not_of(u'0');
  digits = first == std::u16string::npos ? std::u16string(u"0") : digits.substr(first);
  const bool minus = negative && digits != u"0";
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), u'0');
  std::u16string out = minus ? u"-" : u"";
  out += digits.substr(0, digits.size() - 2);
  out += u'.';
  out += digits.substr(digits.size() - 2);
  out += u'%';
  return out;
}

// When FormatPercent rewrote a text, the result is a Percentage text within half a hundredth of
// 100 times the number the text holds, with the text's sign.
void CheckPercentOf(std::u16string_view text, std::u16string_view percent) {
  const double percent_value = PercentValue(percent);
  Require(!std::isnan(percent_value));
  const double value = ReadNumber(text);
  if (!std::isfinite(value) || std::fabs(value) > 1e300) return;
  const double scaled = 100.0 * value;
  const double tolerance = 0.005 * (1.0 + 1e-9) + std::fabs(scaled) * 1e-15;
  Require(std::fabs(std::fabs(percent_value) - std::fabs(scaled)) <= tolerance);
  if (percent[0] == u'-') Require(value < 0.0);
  if (value < 0.0 && percent_value != 0.0) Require(percent[0] == u'-');
}

void CheckText(std::u16string_view text) {
  (void)ReadNumber(text);

  const std::u16string percent = FormatPercent(text);
  Require(FormatPercent(percent) == percent);
  if (percent != text) CheckPercentOf(text, percent);

  // A number in the written form: a plain one of up to 7 digits between 1E-04 and 1E+07 must be
  // rewritten, and whatever is rewritten must be rounded exactly.
  const SingleText parsed = ParseSingleText(text);
  if (parsed.ok && !parsed.exponent_form && parsed.digits.size() <= 7 && parsed.leading_power >= -4 &&
      parsed.leading_power <= 6) {
    Require(percent != text);
  }
  if (parsed.ok && percent != text) Require(percent == ExpectedPercent(parsed, text[0] == u'-'));

  Require(CompareText(text, text) == 0);
  const std::size_t half = text.size() / 2;
  const std::u16string_view left = text.substr(0, half);
  const std::u16string_view right = text.substr(half);
  const int forward = Sign(CompareText(left, right));
  Require(forward == -Sign(CompareText(right, left)));
  Require(forward == Sign(left.compare(right)));
  Require(Sign(CompareText(text, percent)) == Sign(text.compare(percent)));
}

void CheckSingle(float value) {
  const std::u16string text = SingleToText(value);
  const std::u16string percent = FormatPercent(text);
  Require(FormatPercent(percent) == percent);
  if (!std::isfinite(value)) return;  // what these are written as is not promised

  const SingleText parsed = ParseSingleText(text);
  Require(parsed.ok);
  if (value == 0.0f) {
    Require(text == u"0");
  } else {
    Require(parsed.digits != u"0");
    Require(parsed.digits.size() <= 7);
    Require((text[0] == u'-') == (value < 0.0f));
    // Plain form for 1E-04 <= |value| < 1E+07, exponent form otherwise; a value just below
    // 1E-04 that rounds up to it may take either.
    const int k = parsed.leading_power;
    if (parsed.exponent_form) {
      Require(k < -4 || k >= 7 || (k == -4 && parsed.digits == u"1"));
    } else {
      Require(k >= -4 && k <= 6);
    }
    // Read back within half a unit in the 7th digit (of the text's leading digit, which is the
    // value's own or, after rounding up to a power of ten, one higher).
    const double exact = static_cast<double>(value);
    const double read = ReadNumber(text);
    const double half_unit = 0.5 * std::pow(10.0, k - 6);
    Require(std::fabs(read - exact) <= half_unit * (1.0 + 1e-9) + std::fabs(exact) * 0x1p-52);
  }
  Require(percent != text);
  Require(!percent.empty() && percent.back() == u'%');
  CheckPercentOf(text, percent);
  Require(percent == ExpectedPercent(parsed, value < 0.0f));
}

void CheckInteger(std::int16_t value) {
  const std::u16string text = IntegerToText(value);
  const std::string expected = std::to_string(value);
  Require(text == std::u16string(expected.begin(), expected.end()));
  const int magnitude = value < 0 ? -static_cast<int>(value) : value;
  const std::string percent =
      value == 0 ? std::string("00.00%") : (value < 0 ? "-" : "") + std::to_string(magnitude * 100) + ".00%";
  Require(FormatPercent(text) == std::u16string(percent.begin(), percent.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t* body = data + 1;
  const std::size_t body_size = size - 1;

  std::u16string text;
  if ((data[0] & 1u) == 0) {
    text.assign(body, body + body_size);
  } else {
    text.resize(body_size / 2);
    std::memcpy(text.data(), body, text.size() * sizeof(char16_t));
  }
  CheckText(text);

  if (body_size >= 2) {
    std::int16_t integer = 0;
    std::memcpy(&integer, body, sizeof integer);
    CheckInteger(integer);
  }
  if (body_size >= 4) {
    float single = 0.0f;
    std::memcpy(&single, body, sizeof single);
    CheckSingle(single);
  }
  return 0;
}
