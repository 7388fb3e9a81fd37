#include "float_chars.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <string_view>
#include <system_error>

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

}  // namespace
}  // namespace quillomat
