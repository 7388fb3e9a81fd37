#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "form_model.h"

namespace quillomat {
namespace {

using testing::Narrow;
constexpr double kInf = std::numeric_limits<double>::infinity();

struct ReadCase {
  std::u16string_view text;
  double expected;
};

TEST(ReadNumber, ReadsTheNumberATextBeginsWith) {
  // clang-format off
  const ReadCase cases[] = {
      {u"", 0},           {u"abc", 0},         {u"-3", -3},          {u"120", 120},
      {u"0.5", 0.5},      {u"  12", 12},       {u"\t+7", 7},         {u"1.5e2", 150},
      {u"2E-1", 0.2},     {u"12abc", 12},      {u"1e", 1},           {u"1e+", 1},
      {u".5", 0.5},       {u"5.", 5},          {u"-", 0},            {u"..5", 0},
      {u"1.2.3", 1.2},    {u"1,5", 1},         {u" - 3", 0},         {u"0x10", 0},
      {u"inf", 0},        {u"nan", 0},         {u"\u0661", 0},       {u"12\u00a034", 12},
      {u"1e400", kInf},   {u"-1e400", -kInf},  {u"1e-400", 0},       {u"0.000e999999999999", 0},
      {u"99999999999999999999999999999999999999999", 1e41},
      {u"1e99999999999999999999999", kInf},  {u"0.0000000000000000000000001e-330", 0},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << Narrow(c.text) << '"';
}

TEST(ReadNumber, ScalesHugeExponentsByTheDigitsWrittenBeforeThem) {
  const std::u16string digits = u"1" + std::u16string(1'500'000, u'0');
  EXPECT_EQ(ReadNumber(digits + u"e-2000000"), 0.0);   // 1E-500000
  EXPECT_EQ(ReadNumber(digits + u"e-1000000"), kInf);  // 1E+500000
  EXPECT_EQ(ReadNumber(u"0." + digits + u"e-400"), 0.0);
}

TEST(ReadNumber, IsExactForDecimalsNearestDouble) {
  // clang-format off
  const ReadCase cases[] = {
      {u"0.1", 0.1},                                   {u"3.402823E+38", 3.402823e38},
      {u"1.401298E-45", 1.401298e-45},                 {u"16777217.0000000001", 16777217.0},
      // Halfway between two doubles: to the even one; the least bit more: up.
      {u"9007199254740993", 0x1p53},                   {u"9007199254740993.00000000000000000001", 0x1.0000000000001p53},
      {u"1.00000000000000011102230246251565404236316680908203125", 1.0},
      {u"1.00000000000000011102230246251565404236316680908203126", 0x1.0000000000001p0},
      {u"2.2250738585072011e-308", 0x0.fffffffffffffp-1022},  // just below the smallest normal double
      {u"1.7976931348623158e308", DBL_MAX},            {u"1.7976931348623159e308", kInf},
      // Below the normal range a number still reads as the nearest double, not as out of range.
      {u"4e-320", 4e-320},                             {u"1e-310", 1e-310},
      {u"2.4703282292062328e-324", 0x0.0000000000001p-1022},  // just over half the smallest
      {u"2.4703282292062327e-324", 0},                 {u"-4.9406564584124654e-324", -0x0.0000000000001p-1022},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << Narrow(c.text) << '"';
  EXPECT_TRUE(std::signbit(ReadNumber(u"-0")));
}

struct SingleCase {
  float value;
  std::u16string_view text;
};

TEST(SingleToText, WritesSevenCorrectlyRoundedSignificantDigits) {
  const float differenceOfProportions = static_cast<float>(static_cast<double>(0.523f) - static_cast<double>(0.48f));
  const SingleCase cases[] = {
      {0.25f, u"0.25"},
      {0.4f, u"0.4"},
      {1.0f / 3.0f, u"0.3333333"},
      {1.0f, u"1"},
      {differenceOfProportions, u"0.04300001"},
      {0.0f, u"0"},
      {-0.0f, u"0"},
      {-2.5f, u"-2.5"},
      {100.0f, u"100"},
      {1234567.0f, u"1234567"},
      {9999999.0f, u"9999999"},
      {0.99999994f, u"0.9999999"},  // largest Single below 1
      {0.999999f, u"0.999999"},
      {0.0001f, u"0.0001"},
      {1e-5f, u"1E-05"},
      {1e7f, u"1E+07"},
      {12345678.0f, u"1.234568E+07"},
      {12345675.0f, u"1.234568E+07"},  // exact tie: to even
      {12345665.0f, u"1.234566E+07"},  // exact tie: to even, not up
      {9.9999997e-5f, u"0.0001"},      // rounding carries into the plain range
      {FLT_MAX, u"3.402823E+38"},
      {-FLT_MAX, u"-3.402823E+38"},
      {std::numeric_limits<float>::denorm_min(), u"1.401298E-45"},
      {std::numeric_limits<float>::infinity(), u"Infinity"},
      {-std::numeric_limits<float>::infinity(), u"-Infinity"},
      {std::numeric_limits<float>::quiet_NaN(), u"NaN"},
  };
  for (const auto& c : cases) EXPECT_EQ(Narrow(SingleToText(c.value)), Narrow(c.text)) << std::hexfloat << c.value;
}

TEST(IntegerToText, WritesDecimal) {
  EXPECT_EQ(IntegerToText(0), u"0");
  EXPECT_EQ(IntegerToText(-5), u"-5");
  EXPECT_EQ(IntegerToText(32767), u"32767");
  EXPECT_EQ(IntegerToText(-32768), u"-32768");
}

struct PercentCase {
  std::u16string_view text;
  std::u16string_view percent;
};

TEST(FormatPercent, RoundsTheDecimalValueTimesAHundred) {
  const PercentCase cases[] = {
      {u"0.0523", u"05.23%"},
      {u"0", u"00.00%"},
      {u"0.25", u"25.00%"},
      {u"0.08475725", u"08.48%"},
      {u"0.3333333", u"33.33%"},
      {u"0.999999", u"100.00%"},
      {u"1", u"100.00%"},
      {u"1.131607", u"113.16%"},
      {u"12.5", u"1250.00%"},
      {u"0.00125", u"00.13%"},
      {u"-0.5", u"-50.00%"},
      {u"0.00124999", u"00.12%"},
      {u"0.995", u"99.50%"},
      {u"0.99995", u"100.00%"},
      {u"9.99995", u"1000.00%"},
      {u"0.0001", u"00.01%"},
      {u"1E-05", u"00.00%"},
      {u"5E-05", u"00.01%"},
      {u"4.9E-05", u"00.00%"},
      {u"1.234568E+07", u"1234568000.00%"},
      {u"1e2", u"10000.00%"},
      {u"-0.00001", u"00.00%"},
      {u"-0.00005", u"-00.01%"},
      {u"0.04300001", u"04.30%"},
      {u"-0", u"00.00%"},
      {u"007", u"700.00%"},
      {u"3.402823E+38", u"34028230000000000000000000000000000000000.00%"},
      {u"1.401298E-45", u"00.00%"},
  };
  for (const auto& c : cases) EXPECT_EQ(Narrow(FormatPercent(c.text)), Narrow(c.percent));
}

TEST(FormatPercent, GivesBackTextThatIsNotSuchANumber) {
  const std::u16string_view unchanged[] = {
      u"05.23%",
      u"100.00%",
      u"",
      u"abc",
      u"1.",
      u".5",
      u"+5",
      u"5 ",
      u" 5",
      u"1e",
      u"1E+",
      u"1,5",
      u"Infinity",
      u"NaN",
      u"--5",
      u"5%",
      u"1E+99999999999999999999",
      u"0x1p3",
  };
  for (const auto text : unchanged) EXPECT_EQ(Narrow(FormatPercent(text)), Narrow(text));
}

TEST(FormatPercent, IsIdempotent) {
  const std::u16string_view texts[] = {u"0.08475725", u"0.999999", u"-0.5", u"1E-05", u"12.5", u"x"};
  for (const auto text : texts) {
    const std::u16string once = FormatPercent(text);
    EXPECT_EQ(Narrow(FormatPercent(once)), Narrow(once));
  }
}

struct CompareCase {
  std::u16string_view left;
  std::u16string_view right;
  int order;
};

TEST(CompareText, OrdersBySixteenBitCode) {
  const CompareCase cases[] = {
      {u"113.16%", u"50.00%", -1},
      {u"08.48%", u"15.00%", -1},
      {u"10.00%", u"100.00%", -1},
      {u"100.00%", u"80.02%", -1},
      {u"", u"a", -1},
      {u"05.23%", u"05.23%", 0},
      {u"%", u"-", -1},
      {u"-", u".", -1},
      {u".", u"0", -1},
      {u"9", u"A", -1},
      {u"B", u"a", -1},
      {u"a", u"\u00e9", -1},
      {u"\u00ff", u"\uffff", -1},
      {u"", u"", 0},
      {u" ", u"", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareText(c.left, c.right), c.order) << Narrow(c.left) << " vs " << Narrow(c.right);
    EXPECT_EQ(CompareText(c.right, c.left), -c.order) << Narrow(c.right) << " vs " << Narrow(c.left);
  }
}

}  // namespace
}  // namespace quillomat
