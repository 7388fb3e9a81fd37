#include "float_chars.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quillomat {
namespace {

struct ToCharsCase {
  double value;
  std::chars_format format;
  int precision;
  std::size_t room;
  std::string_view text;  // empty: value_too_large
};

TEST(DoubleToChars, WritesAsPrintfInTheCLocaleAndOnlyWhatFits) {
  constexpr auto kFixed = std::chars_format::fixed;
  constexpr auto kScientific = std::chars_format::scientific;
  constexpr auto kGeneral = std::chars_format::general;
  // clang-format off
  const ToCharsCase cases[] = {
      {0.095703125, kGeneral,    7, 32, "0.09570312"},  // an exact tie: to even
      {1e-5,        kGeneral,    7, 32, "1e-05"},
      {12345675,    kGeneral,    7, 32, "1.234568e+07"},
      {-0.0,        kGeneral,    7, 32, "-0"},
      {0.125,       kFixed,      2, 32, "0.12"},
      {-0.001,      kFixed,      2, 32, "-0.00"},
      {DBL_MAX,     kFixed,      0, 400, "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368"},
      {0.125,       kScientific, 1, 32, "1.2e-01"},
      {5.2e-4,      kScientific, 1, 32, "5.2e-04"},
      {1,           kScientific, 1, 32, "1.0e+00"},
      // Room for the text and nothing more is enough; one character less is not.
      {1.5,         kFixed,      2, 4,  "1.50"},
      {1.5,         kFixed,      2, 3,  ""},
      {0.25,        kGeneral,    7, 4,  "0.25"},
      {0.25,        kGeneral,    7, 0,  ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::string buffer(c.room, '#');
    const auto result = DoubleToChars(buffer.data(), buffer.data() + buffer.size(), c.value, c.format, c.precision);
    if (c.text.empty()) {
      EXPECT_EQ(result.ec, std::errc::value_too_large) << c.value << " in " << c.room;
      EXPECT_EQ(result.ptr, buffer.data() + buffer.size()) << c.value << " in " << c.room;
      continue;
    }
    ASSERT_EQ(result.ec, std::errc{}) << c.value << " in " << c.room;
    EXPECT_EQ(std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())), c.text);
    // Nothing is written past the text.
    EXPECT_EQ(buffer.substr(c.text.size()), std::string(c.room - c.text.size(), '#')) << c.text;
  }
}

struct FromCharsCase {
  std::string_view text;
  std::size_t used;
  std::errc ec;
  double value;  // 7 when the value is left as it was
};

TEST(DoubleFromChars, ReadsTheNumberAndTellsWhereItEnds) {
  // clang-format off
  const FromCharsCase cases[] = {
      {"0.5",        3,  std::errc{},                      0.5},
      {"12.5e1",     6,  std::errc{},                      125},
      {"16777217.0000000001", 19, std::errc{},             16777217},
      {"4e-320",     6,  std::errc{},                      4e-320},
      {"1e400",      5,  std::errc::result_out_of_range,   7},
      {"1e-400",     6,  std::errc::result_out_of_range,   7},
      {"0e-400",     6,  std::errc{},                      0},
  };
  // clang-format on
  for (const auto& c : cases) {
    double value = 7;
    const auto result = DoubleFromChars(c.text.data(), c.text.data() + c.text.size(), value);
    EXPECT_EQ(result.ec, c.ec) << c.text;
    EXPECT_EQ(result.ptr, c.text.data() + c.used) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

#ifndef _WIN32  // where the C library's printf and strtod are exact

// Doubles of every kind: any finite bit pattern (denormals included), short decimals, Singles.
std::vector<double> SampleDoubles(std::size_t count) {
  std::mt19937_64 random(20240611);
  std::vector<double> values = {0.0, -0.0, DBL_MIN, DBL_TRUE_MIN, DBL_MAX, 0.5, 1, 9.5, 0.125, 1e23, 5e-324};
  while (values.size() < count) {
    double value = 0;
    switch (values.size() % 3) {
      case 0: {
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        break;
      }
      case 1:
        value = static_cast<double>(random() % 2'000'000) / std::pow(10.0, static_cast<double>(random() % 12));
        break;
      default: {
        const auto bits = static_cast<std::uint32_t>(random());
        float single = 0;
        std::memcpy(&single, &bits, sizeof single);
        if (!std::isfinite(single)) continue;
        value = single;
      }
    }
    values.push_back(value);
  }
  return values;
}

std::string ByPrintf(double value, std::chars_format format, int precision) {
  const char* conversion = format == std::chars_format::fixed        ? "%.*f"
                           : format == std::chars_format::scientific ? "%.*e"
                                                                     : "%.*g";
  std::vector<char> text(static_cast<std::size_t>(std::snprintf(nullptr, 0, conversion, precision, value)) + 1);
  std::snprintf(text.data(), text.size(), conversion, precision, value);
  return text.data();
}

TEST(DoubleToChars, AgreesWithPrintfOnDoublesOfEveryKind) {
  struct Form {
    std::chars_format format;
    int precision;
  };
  const Form forms[] = {
      {std::chars_format::fixed, 0},       {std::chars_format::fixed, 1},      {std::chars_format::fixed, 2},
      {std::chars_format::fixed, 6},       {std::chars_format::fixed, 17},     {std::chars_format::scientific, 0},
      {std::chars_format::scientific, 1},  {std::chars_format::scientific, 5}, {std::chars_format::scientific, 16},
      {std::chars_format::scientific, 30}, {std::chars_format::general, 0},    {std::chars_format::general, 1},
      {std::chars_format::general, 2},     {std::chars_format::general, 7},    {std::chars_format::general, 9},
      {std::chars_format::general, 17},
  };
  std::vector<char> buffer(1200);
  int differences = 0;
  for (double value : SampleDoubles(3000)) {
    for (const Form& form : forms) {
      const auto result =
          DoubleToChars(buffer.data(), buffer.data() + buffer.size(), value, form.format, form.precision);
      ASSERT_EQ(result.ec, std::errc{});
      const std::string text(buffer.data(), result.ptr);
      const std::string expected = ByPrintf(value, form.format, form.precision);
      if (text != expected && ++differences <= 10) {
        ADD_FAILURE() << std::hexfloat << value << " precision " << form.precision << ": " << text << " not "
                      << expected;
      }
    }
  }
  EXPECT_EQ(differences, 0);
}

// What strtod reads from the text, as DoubleFromChars reports it.
struct Read {
  double value;
  std::ptrdiff_t used;
  bool outOfRange;
  bool operator==(const Read&) const = default;
};

Read ByStrtod(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  const bool outOfRange = errno == ERANGE && (value == 0 || std::isinf(value));
  return {outOfRange ? 7 : value, end - text.c_str(), outOfRange};
}

Read ByDoubleFromChars(const std::string& text) {
  double value = 7;
  const auto result = DoubleFromChars(text.data(), text.data() + text.size(), value);
  return {value, result.ptr - text.data(), result.ec == std::errc::result_out_of_range};
}

std::string Describe(const std::string& text) { return text.size() > 80 ? text.substr(0, 77) + "..." : text; }

TEST(DoubleFromChars, AgreesWithStrtodOnTextsOfEveryLength) {
  std::mt19937_64 random(20240612);
  const auto digits = [&random](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text.push_back(static_cast<char>('0' + random() % 10));
    return text;
  };
  int differences = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::size_t length = i % 10 == 0 ? 700 + random() % 300 : 1 + random() % 25;
    std::string text = digits(length);
    if (random() % 2) text.insert(random() % (text.size() + 1), ".");
    if (random() % 3) text += (random() % 2 ? "e-" : "e") + std::to_string(random() % 360);
    if (random() % 8 == 0) text += "e";  // a letter that is not an exponent
    const Read read = ByDoubleFromChars(text), expected = ByStrtod(text);
    if (!(read == expected) && ++differences <= 10) {
      ADD_FAILURE() << Describe(text) << ": " << std::hexfloat << read.value << " (" << read.used << ") not "
                    << expected.value << " (" << expected.used << ")";
    }
  }
  EXPECT_EQ(differences, 0);
}

// A double's exact value in fixed notation with `decimals` places, by printf.
std::string ExactFixed(double value, int decimals) {
  std::vector<char> text(2000);
  std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
  return text.data();
}

// The exact halfway point of two non-negative texts with the same number of decimals, one place
// longer, by digits.
std::string HalfwayOf(std::string low, std::string high) {
  const auto width = std::max(low.size(), high.size());
  low.insert(0, width - low.size(), '0');
  high.insert(0, width - high.size(), '0');
  std::string sum(width, '0');
  int carry = 0;
  for (std::size_t i = width; i-- > 0;) {
    if (low[i] == '.') {
      sum[i] = '.';
      continue;
    }
    const int digit = (low[i] - '0') + (high[i] - '0') + carry;
    sum[i] = static_cast<char>('0' + digit % 10);
    carry = digit / 10;
  }
  if (carry != 0) sum.insert(0, "1");
  std::string half;
  int rest = 0;
  for (char c : sum + "0") {
    if (c == '.') {
      half.push_back('.');
      continue;
    }
    const int digit = rest * 10 + (c - '0');
    half.push_back(static_cast<char>('0' + digit / 2));
    rest = digit % 2;
  }
  return half;
}

// The exact halfway point between two neighbouring doubles goes to the even one; a hair above or
// below it, to the nearer.
TEST(DoubleFromChars, ReadsHalfwayPointsToEvenAndTheirNeighboursToTheNearer) {
  int differences = 0;
  for (double low : SampleDoubles(1500)) {
    low = std::fabs(low);
    const double high = std::nextafter(low, INFINITY);
    if (std::isinf(high)) continue;
    std::string halfway = HalfwayOf(ExactFixed(low, 1100), ExactFixed(high, 1100));
    halfway.erase(halfway.find_last_not_of('0') + 1);
    std::uint64_t lowBits = 0;
    std::memcpy(&lowBits, &low, sizeof low);
    const double even = lowBits % 2 == 0 ? low : high;
    // Just below: the last digit one less, then nines ("2.5" to "2.49999", "25." to "24.9999").
    std::string below = halfway;
    auto at = below.size() - (below.back() == '.' ? 2 : 1);
    for (; below[at] == '0' || below[at] == '.'; --at)
      if (below[at] == '0') below[at] = '9';
    --below[at];
    if (below.back() == '.') below.pop_back();
    if (below.find('.') == std::string::npos) below += '.';
    // Past the 800th digit, what is not zero still counts.
    const std::string farAbove = halfway + std::string(900, '0') + "1";
    const std::pair<std::string, double> cases[] = {{halfway, even},       {halfway + "000001", high},
                                                    {below + "9999", low}, {halfway + "e0", even},
                                                    {farAbove, high},      {farAbove + "e0", high}};
    for (const auto& [text, value] : cases) {
      const Read read = ByDoubleFromChars(text);
      // What only zero is nearer to is out of range.
      const bool wrong = value == 0 ? !read.outOfRange : read.value != value || read.outOfRange;
      if (wrong && ++differences <= 10)
        ADD_FAILURE() << Describe(text) << ": " << std::hexfloat << read.value << " not " << value;
    }
  }
  EXPECT_EQ(differences, 0);
}

#endif

}  // namespace
}  // namespace quillomat
