#include "float_chars.h"

#include <version>

#ifndef __cpp_lib_to_chars
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
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

// The web build's libc++ has neither. The C library's snprintf and strtod would do, exactly, but
// bring with them printf's machinery and 128-bit soft floating point, a quarter of the program:
// these work instead from the exact value, with whole numbers as large as a double's needs.
namespace {

// A whole number of any size, in 32-bit limbs, least significant first.
class Whole {
 public:
  explicit Whole(std::uint64_t value = 0) {
    for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
  }

  bool IsZero() const { return limbs_.empty(); }

  int BitLength() const {
    if (limbs_.empty()) return 0;
    int bits = 32 * static_cast<int>(limbs_.size() - 1);
    for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1) ++bits;
    return bits;
  }

  // *this = *this * factor + add
  void MultiplyAdd(std::uint32_t factor, std::uint32_t add = 0) {
    std::uint64_t carry = add;
    for (std::uint32_t& limb : limbs_) {
      carry += std::uint64_t{limb} * factor;
      limb = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  // *this /= divisor; the remainder.
  std::uint32_t Divide(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (auto it = limbs_.rbegin(); it != limbs_.rend(); ++it) {
      remainder = remainder << 32 | *it;
      *it = static_cast<std::uint32_t>(remainder / divisor);
      remainder %= divisor;
    }
    Trim();
    return static_cast<std::uint32_t>(remainder);
  }

  void ShiftLeft(int bits) {
    if (limbs_.empty() || bits == 0) return;
    const auto whole = static_cast<std::size_t>(bits / 32);
    const int part = bits % 32;
    limbs_.insert(limbs_.begin(), whole, 0);
    if (part == 0) return;
    std::uint32_t carry = 0;
    for (std::size_t i = whole; i < limbs_.size(); ++i) {
      const std::uint32_t limb = limbs_[i];
      limbs_[i] = limb << part | carry;
      carry = limb >> (32 - part);
    }
    if (carry != 0) limbs_.push_back(carry);
  }

  void ShiftRightOne() {
    for (std::size_t i = 0; i < limbs_.size(); ++i)
      limbs_[i] = limbs_[i] >> 1 | (i + 1 < limbs_.size() ? limbs_[i + 1] << 31 : 0);
    Trim();
  }

  friend bool operator<(const Whole& a, const Whole& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size();
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i];
    return false;
  }

  // *this -= smaller
  void Subtract(const Whole& smaller) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t difference = std::int64_t{limbs_[i]} - borrow - (i < smaller.limbs_.size() ? smaller.limbs_[i] : 0);
      borrow = difference < 0;
      limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
    }
    Trim();
  }

  // The decimal digits, without leading zeros ("" for zero).
  std::string Digits() const {
    Whole rest = *this;
    std::string digits;
    while (!rest.IsZero()) {
      std::uint32_t chunk = rest.Divide(1'000'000'000);
      for (int i = 0; i < 9; ++i, chunk /= 10) digits.push_back(static_cast<char>('0' + chunk % 10));
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return {digits.rbegin(), digits.rend()};
  }

 private:
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<std::uint32_t> limbs_;
};

void MultiplyByPowerOfTen(Whole& number, std::int64_t power) {
  for (; power >= 9; power -= 9) number.MultiplyAdd(1'000'000'000);
  for (; power > 0; --power) number.MultiplyAdd(10);
}

// A finite positive double exactly: digits * 10^exponent.
struct ExactDecimal {
  std::string digits;
  int exponent = 0;
};

ExactDecimal Exactly(double value) {
  int binaryExponent = 0;
  const double fraction = std::frexp(value, &binaryExponent);
  auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  binaryExponent -= 53;
  for (; (mantissa & 1) == 0; mantissa >>= 1) ++binaryExponent;
  Whole number(mantissa);
  if (binaryExponent >= 0) {
    number.ShiftLeft(binaryExponent);
    return {number.Digits(), 0};
  }
  // m / 2^k = m * 5^k / 10^k
  for (int k = -binaryExponent; k > 0; k -= 13) {
    std::uint32_t power = 1;
    for (int i = 0; i < std::min(k, 13); ++i) power *= 5;
    number.MultiplyAdd(power);
  }
  return {number.Digits(), binaryExponent};
}

// The first `keep` digits, rounded on the rest half to even. A carry into a new first digit
// ("999" to "1000") keeps the extra digit and sets `carried`.
std::string Rounded(const std::string& digits, std::int64_t keep, bool& carried) {
  carried = false;
  if (keep >= static_cast<std::int64_t>(digits.size()))
    return digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
  if (keep < 0) return {};
  const auto at = static_cast<std::size_t>(keep);
  std::string kept = digits.substr(0, at);
  const char first = digits[at];
  const bool more = digits.find_first_not_of('0', at + 1) != std::string::npos;
  const bool odd = !kept.empty() && (kept.back() - '0') % 2 == 1;
  if (first > '5' || (first == '5' && (more || odd))) {
    auto it = kept.rbegin();
    for (; it != kept.rend() && *it == '9'; ++it) *it = '0';
    if (it != kept.rend()) {
      ++*it;
    } else {
      kept.insert(kept.begin(), '1');
      carried = true;
    }
  }
  return kept;
}

// value * 10^precision rounded to a whole number, as fixed text with `precision` decimals.
std::string FixedText(const ExactDecimal& exact, int precision) {
  bool carried = false;
  std::string digits =
      exact.digits.empty()
          ? std::string()
          : Rounded(exact.digits, static_cast<std::int64_t>(exact.digits.size()) + exact.exponent + precision, carried);
  const auto decimals = static_cast<std::size_t>(precision);
  if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  if (precision > 0) digits.insert(digits.size() - decimals, 1, '.');
  return digits;
}

std::string ScientificText(const ExactDecimal& exact, int precision) {
  std::string digits(static_cast<std::size_t>(precision) + 1, '0');
  int power = 0;
  if (!exact.digits.empty()) {
    bool carried = false;
    digits = Rounded(exact.digits, precision + 1, carried);
    power = static_cast<int>(exact.digits.size()) + exact.exponent - 1 + (carried ? 1 : 0);
    digits.resize(static_cast<std::size_t>(precision) + 1);
  }
  std::string text = digits.substr(0, 1);
  if (precision > 0) text += '.' + digits.substr(1);
  text += power < 0 ? "e-" : "e+";
  const std::string exponent = std::to_string(power < 0 ? -power : power);
  return text + (exponent.size() < 2 ? "0" : "") + exponent;
}

// printf's %g: fixed or scientific by the exponent after rounding, trailing zeros dropped.
std::string GeneralText(const ExactDecimal& exact, int precision) {
  const int significant = std::max(precision, 1);
  int power = 0;
  if (!exact.digits.empty()) {
    bool carried = false;
    Rounded(exact.digits, significant, carried);
    power = static_cast<int>(exact.digits.size()) + exact.exponent - 1 + (carried ? 1 : 0);
  }
  std::string text = significant > power && power >= -4 ? FixedText(exact, significant - 1 - power)
                                                        : ScientificText(exact, significant - 1);
  const auto e = std::min(text.find('e'), text.size());
  if (text.find('.') < e) {
    auto end = text.find_last_not_of('0', e - 1);
    if (text[end] == '.') --end;
    text.erase(end + 1, e - end - 1);
  }
  return text;
}

}  // namespace

std::to_chars_result DoubleToChars(char* first, char* last, double value, std::chars_format format, int precision) {
  std::string text = std::signbit(value) ? "-" : "";
  if (std::isnan(value)) {
    text += "nan";
  } else if (std::isinf(value)) {
    text += "inf";
  } else {
    const ExactDecimal exact = value == 0 ? ExactDecimal{} : Exactly(std::fabs(value));
    text += format == std::chars_format::fixed        ? FixedText(exact, precision)
            : format == std::chars_format::scientific ? ScientificText(exact, precision)
                                                      : GeneralText(exact, precision);
  }
  if (text.size() > static_cast<std::size_t>(last - first)) return {last, std::errc::value_too_large};
  std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc{}};
}

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  // More digits than any halfway point between two doubles has are kept as a sticky last one.
  constexpr std::size_t kKept = 800;
  std::string digits;
  std::int64_t power = 0;  // of the last digit kept
  bool any = false, dropped = false;
  const char* p = first;
  const auto take = [&](bool fraction) {
    for (; p != last && *p >= '0' && *p <= '9'; ++p) {
      any = true;
      if (digits.empty() && *p == '0') {
        power -= fraction;
      } else if (digits.size() < kKept) {
        digits.push_back(*p);
        power -= fraction;
      } else {
        dropped = dropped || *p != '0';
        power += !fraction;
      }
    }
  };
  take(false);
  if (p != last && *p == '.') {
    ++p;
    take(true);
  }
  if (!any) return {first, std::errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool negative = q != last && *q == '-';
    if (q != last && (*q == '-' || *q == '+')) ++q;
    if (q != last && *q >= '0' && *q <= '9') {
      std::int64_t exponent = 0;
      for (; q != last && *q >= '0' && *q <= '9'; ++q)
        exponent = std::min<std::int64_t>(exponent * 10 + (*q - '0'), 1'000'000'000);
      power += negative ? -exponent : exponent;
      p = q;
    }
  }
  if (digits.empty()) {
    value = 0;
    return {p, std::errc{}};
  }
  if (dropped) {
    digits.push_back('1');
    --power;
  }
  const auto count = static_cast<std::int64_t>(digits.size());
  if (count + power > 310 || count + power < -324) return {p, std::errc::result_out_of_range};
  // Both exact and one rounding apart.
  if (count <= 15 && power >= -22 && power <= 22) {
    double number = 0;
    for (char digit : digits) number = number * 10 + (digit - '0');
    double scale = 1;
    for (std::int64_t i = 0; i < (power < 0 ? -power : power); ++i) scale *= 10;
    value = power < 0 ? number / scale : number * scale;
    return {p, std::errc{}};
  }
  // numerator / denominator, scaled by 2^shift to a quotient of 56 or 57 bits.
  Whole numerator, denominator(1);
  for (char digit : digits) numerator.MultiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
  if (power >= 0) {
    MultiplyByPowerOfTen(numerator, power);
  } else {
    MultiplyByPowerOfTen(denominator, -power);
  }
  const int shift = 56 - (numerator.BitLength() - denominator.BitLength());
  if (shift > 0) numerator.ShiftLeft(shift);
  if (shift < 0) denominator.ShiftLeft(-shift);
  denominator.ShiftLeft(57);
  std::uint64_t quotient = 0;
  for (int bit = 57; bit >= 0; --bit) {
    if (!(numerator < denominator)) {
      numerator.Subtract(denominator);
      quotient |= std::uint64_t{1} << bit;
    }
    denominator.ShiftRightOne();
  }
  // value = quotient * 2^-shift, give or take the remainder: to 53 bits, or fewer below the
  // normal range, half to even.
  int length = 0;
  for (std::uint64_t rest = quotient; rest != 0; rest >>= 1) ++length;
  int drop = length - 53;
  int lowest = drop - shift;  // binary exponent of the last bit kept
  if (lowest < -1074) {
    drop += -1074 - lowest;
    lowest = -1074;
  }
  std::uint64_t kept = 0;
  if (drop < 64) {
    kept = quotient >> drop;
    const std::uint64_t rest = quotient & ((std::uint64_t{1} << drop) - 1);
    const std::uint64_t half = std::uint64_t{1} << (drop - 1);
    if (rest > half || (rest == half && (!numerator.IsZero() || (kept & 1) != 0))) ++kept;
  }
  const double result = std::ldexp(static_cast<double>(kept), lowest);
  if (result == 0 || std::isinf(result)) return {p, std::errc::result_out_of_range};
  value = result;
  return {p, std::errc{}};
}

#endif

}  // namespace quillomat
