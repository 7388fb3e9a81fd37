// Checks the number and text layer against a slow reference that works on exact decimal digit
// strings: a Single's binary value is expanded exactly, rounded to 7 significant digits (ties to
// even), then multiplied by 100 and rounded to two decimals (halves away from zero). Nothing in
// the reference uses floating-point formatting, so it cannot share a fault with the code under test.

#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLOMAT_ORACLE_THIN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define QUILLOMAT_ORACLE_THIN 1
#endif
#endif

namespace {

using quillomat::FormatPercent;
using quillomat::IntegerToText;
using quillomat::ReadNumber;
using quillomat::SingleToText;

// The bits of a value as another type of the same size.
template <typename To, typename From>
To BitCopy(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

// ---------------------------------------------------------------------------------------------
// Reference arithmetic on decimal digit strings.

// Value = (negative ? -1 : 1) * digits * 10^exponent; digits has no leading zeros except "0".
struct Decimal {
  bool negative = false;
  std::string digits = "0";
  int exponent = 0;
};

// digits (most significant first) times a small factor, exactly.
std::string MultiplyDigits(const std::string& digits, std::uint64_t factor) {
  std::string out(digits.size() + 20, '0');
  std::uint64_t carry = 0;
  std::size_t pos = out.size();
  for (std::size_t i = digits.size(); i-- > 0;) {
    const std::uint64_t product = static_cast<std::uint64_t>(digits[i] - '0') * factor + carry;
    out[--pos] = static_cast<char>('0' + product % 10);
    carry = product / 10;
  }
  while (carry > 0) {
    out[--pos] = static_cast<char>('0' + carry % 10);
    carry /= 10;
  }
  const std::size_t first = out.find_first_not_of('0');
  return first == std::string::npos ? std::string("0") : out.substr(first);
}

// Adds one to the last digit.
std::string IncrementDigits(std::string digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return digits;
    }
  }
  return "1" + digits;
}

// Powers of 2 and 5 as digit strings, built once by repeated exact multiplication.
const std::vector<std::string>& PowerTable(std::uint64_t base) {
  static const std::vector<std::string> twos = [] {
    std::vector<std::string> table{"1"};
    for (int i = 1; i <= 160; ++i) table.push_back(MultiplyDigits(table.back(), 2));
    return table;
  }();
  static const std::vector<std::string> fives = [] {
    std::vector<std::string> table{"1"};
    for (int i = 1; i <= 160; ++i) table.push_back(MultiplyDigits(table.back(), 5));
    return table;
  }();
  return base == 2 ? twos : fives;
}

// The exact value of a Single: integer mantissa m and power of two e from the bit pattern, then
// m * 2^e = m * 2^e (e >= 0) or m * 5^-e * 10^e (e < 0).
Decimal ExactDecimal(float value) {
  const auto bits = BitCopy<std::uint32_t>(value);
  const int biased = static_cast<int>((bits >> 23) & 0xFFu);
  std::uint64_t mantissa = bits & 0x7FFFFFu;
  int power = -149;
  if (biased != 0) {
    mantissa |= 0x800000u;
    power = biased - 150;
  }
  Decimal d;
  d.negative = (bits >> 31) != 0;
  if (mantissa == 0) return d;
  if (power >= 0) {
    d.digits = MultiplyDigits(PowerTable(2)[static_cast<std::size_t>(power)], mantissa);
  } else {
    d.digits = MultiplyDigits(PowerTable(5)[static_cast<std::size_t>(-power)], mantissa);
    d.exponent = power;
  }
  return d;
}

// Moves trailing zeros of the digits into the exponent.
Decimal StripZeros(Decimal d) {
  while (d.digits.size() > 1 && d.digits.back() == '0') {
    d.digits.pop_back();
    ++d.exponent;
  }
  if (d.digits == "0") d.exponent = 0;
  return d;
}

// Rounds to `significant` digits, an exact tie going to the even last digit.
Decimal RoundSignificantTiesEven(Decimal d, std::size_t significant) {
  if (d.digits.size() <= significant) return StripZeros(d);
  const std::string kept = d.digits.substr(0, significant);
  const std::string dropped = d.digits.substr(significant);
  bool up = false;
  if (dropped[0] > '5') {
    up = true;
  } else if (dropped[0] == '5') {
    const bool beyond_half = dropped.find_first_not_of('0', 1) != std::string::npos;
    up = beyond_half || ((kept.back() - '0') % 2 == 1);
  }
  d.exponent += static_cast<int>(dropped.size());
  d.digits = up ? IncrementDigits(kept) : kept;
  if (d.digits.size() > significant) {  // 9999999 rounded up to 10000000
    d.digits.pop_back();
    ++d.exponent;
  }
  return StripZeros(d);
}

// Decimal exponent of the leading digit (value in [10^k, 10^(k+1)) for a non-zero value).
int LeadingExponent(const Decimal& d) { return static_cast<int>(d.digits.size()) - 1 + d.exponent; }

// The rounded value as plain decimal text: "0.0001", "1234.5", "-7".
std::string PlainText(const Decimal& d) {
  std::string out = d.negative && d.digits != "0" ? "-" : "";
  if (d.exponent >= 0) return out + d.digits + std::string(static_cast<std::size_t>(d.exponent), '0');
  const int whole = static_cast<int>(d.digits.size()) + d.exponent;
  if (whole > 0) {
    const auto w = static_cast<std::size_t>(whole);
    return out + d.digits.substr(0, w) + "." + d.digits.substr(w);
  }
  return out + "0." + std::string(static_cast<std::size_t>(-whole), '0') + d.digits;
}

// The rounded value in exponent form: "1E-05", "3.402823E+38".
std::string ExponentText(const Decimal& d) {
  std::string out = d.negative ? "-" : "";
  out += d.digits.substr(0, 1);
  if (d.digits.size() > 1) out += "." + d.digits.substr(1);
  const int k = LeadingExponent(d);
  std::string power = std::to_string(k < 0 ? -k : k);
  if (power.size() < 2) power = "0" + power;
  return out + "E" + (k < 0 ? "-" : "+") + power;
}

// The texts a Single may be written as. Plain form for 1E-04 <= |rounded| < 1E+07, exponent form
// otherwise; where rounding carries the value across a switch point (the Single nearest 0.0001 is
// just below it but rounds to it) the form is not pinned down and both are accepted.
std::vector<std::string> ReferenceSingleTexts(float value) {
  const Decimal exact = ExactDecimal(value);
  const Decimal rounded = RoundSignificantTiesEven(exact, 7);
  if (rounded.digits == "0") return {"0"};
  const auto plain = [](int k) { return k >= -4 && k < 7; };
  const int k_rounded = LeadingExponent(rounded);
  const int k_exact = LeadingExponent(exact);
  std::vector<std::string> texts{plain(k_rounded) ? PlainText(rounded) : ExponentText(rounded)};
  if (plain(k_rounded) != plain(k_exact)) {
    texts.push_back(plain(k_rounded) ? ExponentText(rounded) : PlainText(rounded));
  }
  return texts;
}

// Percentage text of an exact decimal: times 100, rounded to hundredths halves away from zero,
// at least two digits before the point, two after, "-" only when the rounded value is negative.
std::string PercentOfDecimal(const Decimal& d) {
  // Hundredths of a percent unit: digits * 10^(exponent + 4).
  const int shift = d.exponent + 4;
  std::string hundredths;
  if (shift >= 0) {
    hundredths = d.digits + std::string(static_cast<std::size_t>(shift), '0');
  } else {
    const auto cut = static_cast<std::size_t>(-shift);
    std::string padded = d.digits;
    if (padded.size() <= cut) padded = std::string(cut + 1 - padded.size(), '0') + padded;
    hundredths = padded.substr(0, padded.size() - cut);
    if (padded[padded.size() - cut] >= '5') hundredths = IncrementDigits(hundredths);
  }
  const std::size_t first = hundredths.find_first_not_of('0');
  hundredths = first == std::string::npos ? std::string("0") : hundredths.substr(first);
  const bool negative = d.negative && hundredths != "0";
  if (hundredths.size() < 4) hundredths = std::string(4 - hundredths.size(), '0') + hundredths;
  return std::string(negative ? "-" : "") + hundredths.substr(0, hundredths.size() - 2) + "." +
         hundredths.substr(hundredths.size() - 2) + "%";
}

std::string ReferencePercent(float value) { return PercentOfDecimal(RoundSignificantTiesEven(ExactDecimal(value), 7)); }

// ---------------------------------------------------------------------------------------------
// Comparison helpers.

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

std::string Describe(float value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "0x%08X (%.9g)", BitCopy<std::uint32_t>(value), static_cast<double>(value));
  return buf;
}

// Collects the first few disagreements of a sweep.
class Mismatches {
 public:
  void Add(const std::string& what) {
    ++count_;
    if (shown_.size() < 12) shown_.push_back(what);
  }
  std::size_t Count() const { return count_; }
  std::string Report() const {
    std::string out = std::to_string(count_) + " mismatches; first ones:\n";
    for (const auto& line : shown_) out += "  " + line + "\n";
    return out;
  }

 private:
  std::size_t count_ = 0;
  std::vector<std::string> shown_;
};

// The whole chain for one Single: its text, the text read back, its Percentage text, and the
// Percentage text formatted again.
void CheckSingle(float value, Mismatches& bad) {
  const std::u16string text = SingleToText(value);
  const std::string narrow = Narrow(text);
  const std::vector<std::string> expected_texts = ReferenceSingleTexts(value);
  bool text_ok = false;
  for (const auto& t : expected_texts) text_ok = text_ok || narrow == t;
  if (!text_ok) {
    bad.Add("SingleToText(" + Describe(value) + ") = \"" + narrow + "\", expected \"" + expected_texts.front() + "\"");
    return;
  }

  // Reading the text gives the double nearest its decimal value (the C library's correctly
  // rounded reader is the reference here), so it lies within half a 7th-digit unit of the Single.
  const double read = ReadNumber(text);
  const double nearest = std::strtod(narrow.c_str(), nullptr);
  if (BitCopy<std::uint64_t>(read) != BitCopy<std::uint64_t>(nearest) && !(read == 0.0 && nearest == 0.0)) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "ReadNumber(\"%s\") = %.17g, expected %.17g", narrow.c_str(), read, nearest);
    bad.Add(buf);
  }

  const std::u16string percent = FormatPercent(text);
  const std::string expected_percent = ReferencePercent(value);
  if (Narrow(percent) != expected_percent) {
    bad.Add("FormatPercent(\"" + narrow + "\") from " + Describe(value) + " = \"" + Narrow(percent) +
            "\", expected \"" + expected_percent + "\"");
    return;
  }
  const std::u16string again = FormatPercent(percent);
  if (again != percent) {
    bad.Add("FormatPercent(\"" + Narrow(percent) + "\") = \"" + Narrow(again) + "\", expected it unchanged");
  }
}

float Neighbour(float value, int steps) {
  const float toward = steps < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
  for (int i = 0; i < std::abs(steps); ++i) value = std::nextafter(value, toward);
  return value;
}

float FromBits(std::uint32_t bits) { return BitCopy<float>(bits); }

#ifdef QUILLOMAT_ORACLE_THIN
constexpr std::uint32_t kSamplesPerBinade = 2048;
constexpr int kNeighbourSteps = 4;
#else
constexpr std::uint32_t kSamplesPerBinade = 32768;
constexpr int kNeighbourSteps = 16;
#endif

// ---------------------------------------------------------------------------------------------
// The reference itself, on values whose answers are known by hand.

struct KnownCase {
  float value;
  const char* text;
  const char* percent;
};

TEST(PercentReference, AgreesWithHandWorkedValues) {
  const KnownCase cases[] = {
      {0.0f, "0", "00.00%"},
      {-0.0f, "0", "00.00%"},
      {0.25f, "0.25", "25.00%"},
      {0.4f, "0.4", "40.00%"},
      {1.0f, "1", "100.00%"},
      {-2.5f, "-2.5", "-250.00%"},
      {12.5f, "12.5", "1250.00%"},
      {0.0523f, "0.0523", "05.23%"},
      {0.08475725f, "0.08475725", "08.48%"},
      {static_cast<float>(1.0 / 3.0), "0.3333333", "33.33%"},
      {0.999999f, "0.999999", "100.00%"},
      {1.131607f, "1.131607", "113.16%"},
      {0.00125f, "0.00125", "00.13%"},  // exact half of a hundredth: away from zero
      {-0.00125f, "-0.00125", "-00.13%"},
      {-0.00004f, "-4E-05", "00.00%"},  // negative, rounds to zero: no sign
      {0.00001f, "1E-05", "00.00%"},
      {0.00005f, "5E-05", "00.01%"},
      {1.0e7f, "1E+07", "1000000000.00%"},
      {9999999.0f, "9999999", "999999900.00%"},
      {10000005.0f, "1E+07", "1000000000.00%"},         // 1.0000005E+07: tie to even, down
      {10000015.0f, "1.000002E+07", "1000002000.00%"},  // tie to even, up
      {1.0078125f, "1.007812", "100.78%"},              // 8 digits ending in 5: tie to even, down
      {1.0234375f, "1.023438", "102.34%"},              // tie to even, up
      {std::numeric_limits<float>::max(), "3.402823E+38", "34028230000000000000000000000000000000000.00%"},
      {std::numeric_limits<float>::denorm_min(), "1.401298E-45", "00.00%"},
  };
  for (const auto& c : cases) {
    const auto texts = ReferenceSingleTexts(c.value);
    EXPECT_EQ(texts.front(), c.text) << Describe(c.value);
    EXPECT_EQ(ReferencePercent(c.value), c.percent) << Describe(c.value);
  }
  // The Single difference of the Singles nearest 0.523 and 0.48.
  const float difference = static_cast<float>(static_cast<double>(0.523f) - static_cast<double>(0.48f));
  EXPECT_EQ(ReferenceSingleTexts(difference).front(), "0.04300001");
  // The Single nearest 0.0001 lies just below it and rounds up to it: either form is allowed.
  const auto boundary = ReferenceSingleTexts(0.0001f);
  ASSERT_EQ(boundary.size(), 2u);
  EXPECT_EQ(boundary[0], "0.0001");
  EXPECT_EQ(boundary[1], "1E-04");
}

// ---------------------------------------------------------------------------------------------
// The layer against the reference.

TEST(PercentOracle, ProportionsOfEveryBaseUpTo1000) {
  // Each share rounded to a Single from its double quotient, as the calculation stores it.
  Mismatches bad;
  for (int base = 1; base <= 1000; ++base) {
    for (int results = 0; results <= base; ++results) {
      const float share = static_cast<float>(static_cast<double>(results) / static_cast<double>(base));
      CheckSingle(share, bad);
    }
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, DenseSampleFrom1EMinus8To1E8) {
  const std::uint32_t low = BitCopy<std::uint32_t>(1.0e-8f) >> 23;
  const std::uint32_t high = BitCopy<std::uint32_t>(1.0e8f) >> 23;
  const std::uint32_t stride = (1u << 23) / kSamplesPerBinade;
  std::mt19937 jitter(20240601u);
  Mismatches bad;
  for (std::uint32_t binade = low; binade <= high; ++binade) {
    for (std::uint32_t i = 0; i < kSamplesPerBinade; ++i) {
      // One fraction per stride, at a pseudo-random place within it, and the binade's ends.
      std::uint32_t fraction = i * stride + static_cast<std::uint32_t>(jitter() % stride);
      if (i < 4) fraction = i;
      if (i + 4 >= kSamplesPerBinade) fraction = (1u << 23) - (kSamplesPerBinade - i);
      const float value = FromBits((binade << 23) | fraction);
      CheckSingle(value, bad);
      if (i % 2 == 1) CheckSingle(-value, bad);
    }
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, NeighboursOfDecimalBoundaries) {
  std::vector<float> anchors;
  for (int k = -8; k <= 8; ++k) {
    anchors.push_back(static_cast<float>(std::pow(10.0, k)));
    anchors.push_back(static_cast<float>(5.0 * std::pow(10.0, k)));
    anchors.push_back(static_cast<float>(9.999999 * std::pow(10.0, k)));
    anchors.push_back(static_cast<float>(9.9999995 * std::pow(10.0, k)));
    anchors.push_back(static_cast<float>(9.9999999 * std::pow(10.0, k)));
    anchors.push_back(static_cast<float>(1.0000005 * std::pow(10.0, k)));
  }
  for (const double a :
       {0.999999, 0.9999995, 0.0005, 0.00005, 0.00125, 0.005, 0.995, 0.9995, 0.99995, 0.099995, 0.049995, 9.999999e-5,
        9.9999995e-5, 1.0e7, 9999999.0, 16777216.0, 8388608.0, 0.08475725, 1.131607}) {
    anchors.push_back(static_cast<float>(a));
  }
  Mismatches bad;
  for (const float anchor : anchors) {
    for (int step = -kNeighbourSteps; step <= kNeighbourSteps; ++step) {
      const float value = Neighbour(anchor, step);
      CheckSingle(value, bad);
      CheckSingle(-value, bad);
    }
  }
  // Every odd half hundredth of a percent up to 200% (x = 0.00005, 0.00015, ...), where rounding
  // to two decimals ties, and the Singles next to each.
  for (int j = 0; j < 20000; ++j) {
    const float tie = static_cast<float>((2 * j + 1) / 20000.0);
    for (int step = -2; step <= 2; ++step) {
      const float value = Neighbour(tie, step);
      CheckSingle(value, bad);
      CheckSingle(-value, bad);
    }
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, DyadicValuesWithExactSeventhDigitTies) {
  // n / 2^j with few binary digits has a short exact decimal expansion, so many of these sit
  // exactly halfway between two 7-digit values and exercise ties to even.
  Mismatches bad;
  for (int j = 1; j <= 12; ++j) {
    for (std::uint32_t n = 1; n < (1u << 14); n += 2) {
      const float value = std::ldexp(static_cast<float>(n), -j);
      CheckSingle(value, bad);
    }
  }
  for (std::uint32_t n = 10000000; n <= 10002000; ++n) CheckSingle(static_cast<float>(n), bad);
  for (std::uint32_t n = (1u << 24) - 1000; n <= (1u << 24); ++n) {
    CheckSingle(static_cast<float>(n), bad);
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, ExtremeSingles) {
  Mismatches bad;
  const float specials[] = {std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            Neighbour(std::numeric_limits<float>::min(), -1),
                            1.0e-30f,
                            3.0e30f,
                            1.0e-10f,
                            1.0e10f,
                            123456789.0f};
  for (const float value : specials) {
    CheckSingle(value, bad);
    CheckSingle(-value, bad);
  }
  // One sample per binade over the whole range, denormals included.
  for (std::uint32_t bits = 1; bits < 0x7F800000u; bits += 0x00800000u - 77) {
    CheckSingle(FromBits(bits), bad);
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, EveryIntegerText) {
  Mismatches bad;
  for (int n = std::numeric_limits<std::int16_t>::min(); n <= std::numeric_limits<std::int16_t>::max(); ++n) {
    const std::u16string text = IntegerToText(static_cast<std::int16_t>(n));
    if (Narrow(text) != std::to_string(n)) {
      bad.Add("IntegerToText(" + std::to_string(n) + ") = \"" + Narrow(text) + "\"");
      continue;
    }
    Decimal d;
    d.negative = n < 0;
    d.digits = std::to_string(n < 0 ? -n : n);
    const std::string expected = PercentOfDecimal(d);
    const std::u16string percent = FormatPercent(text);
    if (Narrow(percent) != expected) {
      bad.Add("FormatPercent(\"" + Narrow(text) + "\") = \"" + Narrow(percent) + "\", expected \"" + expected + "\"");
    } else if (FormatPercent(percent) != percent) {
      bad.Add("FormatPercent(\"" + expected + "\") changed it");
    }
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

TEST(PercentOracle, TextReadsBackWithinHalfASeventhDigitUnit) {
  // Seven digits do not always bring back the same Single, but the text's value must lie within
  // half a unit in the 7th significant digit of the Single, whatever form the text takes.
  Mismatches bad;
  std::mt19937 random(7u);
  for (int i = 0; i < 40000; ++i) {
    const float value = FromBits(1u + static_cast<std::uint32_t>(random() % 0x7F7FFFFFu));
    const double read = ReadNumber(SingleToText(value));
    const double exact = static_cast<double>(value);
    const int k = LeadingExponent(ExactDecimal(value));
    const double half_unit = 0.5 * std::pow(10.0, k - 6);
    // Slack: the double nearest the text, and the double nearest 10^(k-6).
    const double slack = half_unit * 1e-12 + std::fabs(exact) * 0x1p-52;
    if (!(std::fabs(read - exact) <= half_unit + slack)) {
      char buf[96];
      std::snprintf(buf, sizeof buf, " read back as %.17g", read);
      bad.Add("SingleToText(" + Describe(value) + ")" + buf);
    }
  }
  EXPECT_EQ(bad.Count(), 0u) << bad.Report();
}

}  // namespace
