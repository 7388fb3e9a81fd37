#include "evidence.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "evidence_text.h"
#include "form_model.h"

namespace quillomat {
namespace {

using L = ConfidenceLevel;
using testing::Narrow;

struct Entries {
  float base1, resp1, base2, resp2;
};

std::optional<Evidence> Assess(const Entries& e, L level = L::k95) {
  return AssessEvidence(e.base1, e.resp1, e.base2, e.resp2, level);
}

std::string Describe(const Entries& e) {
  return std::to_string(e.resp1) + " of " + std::to_string(e.base1) + " vs " + std::to_string(e.resp2) + " of " +
         std::to_string(e.base2);
}

// Within a relative 1e-9; an expected 0 must be exactly 0, and an absent value absent.
::testing::AssertionResult Near(std::optional<double> actual, std::optional<double> expected) {
  if (actual.has_value() != expected.has_value())
    return ::testing::AssertionFailure() << (actual ? "present" : "absent") << ", expected the opposite";
  if (!actual || std::fabs(*actual - *expected) <= 1e-9 * std::fabs(*expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << *actual << " vs " << *expected;
}

// From tools/evidence_reference.py: R's prop.test, fisher.test and chisq.test; Newcombe's interval
// in 50-digit arithmetic, agreeing with statsmodels; bases needed in exact rational arithmetic.
struct Reference {
  Entries entries;
  L level;
  std::optional<double> z, p;
  double low, high, smallestExpected;
  std::optional<double> fisherP;
  std::optional<BasesNeeded> basesNeeded;
};

// clang-format off
const Reference kReferences[] = {
    {{200, 50, 300, 120}, L::k95, -3.468729675471602, 0.0005229253353601699, -0.22869469573065587, -0.06610751634658578, 68.0, 0.0005225519961432527, {{64, 96}}},
    {{100, 20, 200, 40}, L::k90, 0.0, 1.0, -0.07645337234588592, 0.08467345951344495, 20.0, 1.0, {}},
    {{10, 0, 10, 10}, L::k99, -4.47213595499958, 7.744216431044086e-06, -1.0, -0.435935131840175, 5.0, 1.0825088224469028e-05, {{3, 3}}},
    {{10, 0, 20, 0}, L::k80, {}, {}, -0.07588697911076442, 0.14106868209054088, 0.0, 1.0, {}},
    {{5, 5, 7, 7}, L::k95, {}, {}, -0.4344824647831748, 0.35433043506668743, 0.0, 1.0, {}},
    {{5, 1, 5, 4}, L::k95, -1.8973665961010275, 0.05777957112359754, -0.83161408676176, 0.00028468334755384794, 2.5, 0.2063492063492063, {{6, 6}}},
    {{3, 0, 3, 3}, L::k90, -2.449489742783178, 0.014305878435429647, -1.0, -0.32938618780914847, 1.5, 0.10000000000000003, {{2, 2}}},
    {{1000000, 250000, 1000000, 251000}, L::k95, -1.6319066736909331, 0.10269914793435694, -0.002201023612434641, 0.00020102724382124585, 250500.0, 0.10304338272688099, {{1442519, 1442519}}},
    {{16777216, 8388608, 16777216, 8392000}, L::k80, -1.171145630276287, 0.24154024513285044, -0.0004234176425088676, 1.905976034263445e-05, 8386912.0, 0.241679031336863, {{20040938, 20040938}}},
    {{1000, 523, 1000, 480}, L::k90, 1.9230271142913042, 0.054476644741986664, 0.006221613893489977, 0.07961430422145331, 498.5, 0.060312351130421854, {{728, 728}}},
    {{100, 10, 100, 20}, L::k80, -1.9802950859533488, 0.04767038065616149, -0.16453946228734131, -0.03538628492180572, 15.0, 0.07342758972137652, {{42, 42}}},
    {{100, 10, 100, 20}, L::k99, -1.9802950859533488, 0.04767038065616149, -0.2317379631837669, 0.03276621141666254, 15.0, 0.07342758972137652, {{139, 139}}},
    {{1, 0, 2, 1}, L::k95, -0.8660254037844386, 0.38647623077123266, -0.9054687942657693, 0.39104934410983594, 0.3333333333333333, 1.0, {{6, 11}}},
    {{50, 50, 100, 50}, L::k99, 6.123724356957945, 9.141298408246632e-10, 0.3288866325421323, 0.6247203749551602, 16.666666666666668, 7.2030684050706145e-12, {{8, 15}}},
    {{30, 7, 45, 3}, L::k95, 2.080125735844609, 0.03751400161554021, 0.005915906854692282, 0.34797054270754957, 4.0, 0.07857268879364103, {{27, 40}}},
    {{20, 1, 1000, 300}, L::k90, -2.427210260864639, 0.015215434830510204, -0.2957782825739777, -0.1021499796993584, 5.901960784313726, 0.012210177708518559, {{10, 457}}},
    {{1, 1, 1, 0}, L::k80, 1.4142135623730951, 0.15729920705028447, 0.12099202933443459, 1.0, 0.5, 1.0, {{1, 1}}},
    {{4, 2, 4, 2}, L::k95, 0.0, 1.0, -0.494919607842828, 0.494919607842828, 2.0, 1.0, {}},
    {{12, 2, 9, 7}, L::k95, -2.8004629246952355, 0.00510293689261397, -0.8101300488407238, -0.18109533018829843, 3.857142857142857, 0.009202871431973582, {{6, 5}}},
    {{1000000, 1, 1000000, 6}, L::k95, -1.8898256722439564, 0.05878127889637572, -1.2139192555705847e-05, 6.854933021288864e-07, 3.5, 0.12499934374967199, {{1075645, 1075645}}},
    {{1000, 100, 1000, 500}, L::k99, -19.518001458970662, 7.71993459429541e-85, -0.4461055449871346, -0.3511730129250468, 300.0, 5.1250285125272096e-90, {{15, 15}}},
    {{1000, 0, 1000, 1000}, L::k95, -44.721359549995796, 0.0, -1.0, -0.9945881462498016, 500.0, 0.0, {{2, 2}}},
    {{500, 0, 400, 1}, L::k90, -1.1186556368317064, 0.2632870780480935, -0.01112689585360851, 0.003221641882438157, 0.4444444444444444, 0.4444444444444445, {{1075, 860}}},
    {{30000000, 10000000, 30000000, 10010000}, L::k95, -2.738270696199407, 0.006176321482601077, -0.0005719223028359618, -9.474431099638403e-05, 10005000.0, {}, {{15370240, 15370240}}},
    {{30000000, 1, 30000000, 6}, L::k90, -1.8898224752857837, 0.058781706606719025, -3.552155467612653e-07, -1.5662960337323393e-08, 3.5, {}, {{22592638, 22592638}}},
    {{16777216, 8388608, 16777215, 8388607}, L::k95, 0.0001726334992179407, 0.9998622583969807, -0.00033832558985275935, 0.00033838519449143714, 8388607.250000007, 1.0, {}},
    {{3.4028234663852886e+38f, 0, 3.4028234663852886e+38f, 3.4028234663852886e+38f}, L::k95, -2.6087634873193423e+19, 0.0, -1.0, -1.0, 1.7014117331926443e+38, {}, {{2, 2}}},
    // Bases needed a hair above a whole number, then exactly whole: rounding must not add one.
    {{7221, 3429, 78, 37}, L::k99, 0.008901165565492402, 0.9928979912051794, -0.14213155457130214, 0.13915163914011972, 37.03904644471845, 1.0, {{494783752, 5344569}}},
    {{14, 10, 694, 498}, L::k99, -0.027100418660802598, 0.9783796408414012, -0.3400664379113157, 0.1983708189632494, 3.9548022598870056, 1.0, {{103488, 5130024}}},
    {{7, 1, 25, 3}, L::k80, 0.16162440712835371, 0.8716016359050158, -0.12330182293663748, 0.26538007099281674, 0.875, 0.9999999999999999, {{440, 1568}}},
    {{10, 3, 25, 7}, L::k95, 0.11832159566199243, 0.9058128467277438, -0.2543511326078412, 0.352801379767703, 2.857142857142857, 1.0, {{2744, 6860}}},
    {{5, 2, 36, 14}, L::k90, 0.047726070210921304, 0.9619345567493021, -0.2803310213011478, 0.360388075324726, 1.951219512195122, 1.0, {{5904, 42509}}},
};
// clang-format on

TEST(AssessEvidence, AgreesWithIndependentReferences) {
  for (const Reference& r : kReferences) {
    const auto e = Assess(r.entries, r.level);
    ASSERT_TRUE(e) << Describe(r.entries);
    EXPECT_TRUE(Near(e->z, r.z)) << "z, " << Describe(r.entries);
    EXPECT_TRUE(Near(e->p, r.p)) << "p, " << Describe(r.entries);
    EXPECT_TRUE(Near(e->low, r.low)) << "low, " << Describe(r.entries);
    EXPECT_TRUE(Near(e->high, r.high)) << "high, " << Describe(r.entries);
    EXPECT_TRUE(Near(e->smallestExpected, r.smallestExpected)) << "expected, " << Describe(r.entries);
    EXPECT_TRUE(Near(e->fisherP, r.fisherP)) << "Fisher, " << Describe(r.entries);
    ASSERT_EQ(e->basesNeeded.has_value(), r.basesNeeded.has_value()) << Describe(r.entries);
    if (r.basesNeeded) {
      EXPECT_EQ(e->basesNeeded->base1, r.basesNeeded->base1) << Describe(r.entries);
      EXPECT_EQ(e->basesNeeded->base2, r.basesNeeded->base2) << Describe(r.entries);
    }
  }
}

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(AssessEvidence, NeedsWholeCountsWithinTheirBases) {
  // clang-format off
  const Entries notWhole[] = {
      {2.5f, 1, 3, 1},   {10, 2.5f, 3, 1},  {10, 1, 3.5f, 1},   {10, 1, 3, 0.5f},  {-1, 0, 3, 1},
      {10, -1, 3, 1},    {0, 0, 3, 1},      {10, 1, 0, 0},      {10, 11, 3, 1},    {10, 1, 3, 4},
      {kInf, 1, 3, 1},   {kInf, kInf, 3, 1}, {10, 1, 3, kInf},  {kNaN, 1, 3, 1},   {10, kNaN, 3, 1},
      {FLT_TRUE_MIN, 0, 3, 1}, {-kInf, -kInf, 3, 1},
  };
  // clang-format on
  for (const Entries& e : notWhole) EXPECT_FALSE(Assess(e)) << Describe(e);
  EXPECT_TRUE(Assess({1, 0, 1, 1}));
  EXPECT_TRUE(Assess({1, 1, FLT_MAX, FLT_MAX}));
}

TEST(AssessEvidence, TakesANegativeZeroResultsCountAsZero) {
  const auto negated = [](float count) { return count == 0 ? -0.0f : count; };
  for (const Entries& e : {Entries{10, 0, 20, 3}, Entries{10, 0, 20, 0}, Entries{10, 4, 20, 0}}) {
    const auto negative = Assess({e.base1, negated(e.resp1), e.base2, negated(e.resp2)});
    ASSERT_TRUE(negative) << Describe(e);
    EXPECT_EQ(EvidenceCopyLines(negative), EvidenceCopyLines(Assess(e))) << Describe(e);
    EXPECT_EQ(EvidenceSentences(negative), EvidenceSentences(Assess(e))) << Describe(e);
  }
}

// --- Texts ------------------------------------------------------------------------------------

struct SentencesCase {
  Entries entries;
  L level;
  std::u16string_view sentences;
};

TEST(EvidenceSentences, ReadAsTheReferenceValuesRounded) {
  const SentencesCase cases[] = {
      {{200, 50, 300, 120},
       L::k95,
       u"z = \u22123.47, two-sided p = 0.00052. 95% confidence interval for Player 1 % \u2212 Player 2 %: "
       u"\u221222.87 to \u22126.61 points."},
      {{100, 20, 200, 40},
       L::k90,
       u"z = 0.00, two-sided p = 1. 90% confidence interval for Player 1 % \u2212 Player 2 %: \u22127.65 to 8.47 "
       u"points."},
      {{10, 0, 10, 10},
       L::k99,
       u"z = \u22124.47, two-sided p < 0.0001. 99% confidence interval for Player 1 % \u2212 Player 2 %: "
       u"\u2212100.00 to \u221243.59 points."},
      {{5, 1, 5, 4},
       L::k95,
       u"z = \u22121.90, two-sided p = 0.058. 95% confidence interval for Player 1 % \u2212 Player 2 %: "
       u"\u221283.16 to 0.03 points. The counts are small for this test (smallest expected count 2.5); "
       u"Fisher's exact two-sided p = 0.21."},
      {{30000000, 1, 30000000, 6},
       L::k80,
       u"z = \u22121.89, two-sided p = 0.059. 80% confidence interval for Player 1 % \u2212 Player 2 %: "
       u"0.00 to 0.00 points. The counts are small for this test (smallest expected count 3.5)."},
      {{10, 0, 20, 0},
       L::k80,
       u"z and p are not defined when both players' results are 0 or both equal their bases. 80% confidence "
       u"interval for Player 1 % \u2212 Player 2 %: \u22127.59 to 14.11 points."},
      {{10, 11, 20, 3},
       L::k95,
       u"The extra numbers need whole counts: each base at least 1 and each results count from 0 to its base."},
  };
  for (const auto& c : cases) EXPECT_EQ(Narrow(EvidenceSentences(Assess(c.entries, c.level))), Narrow(c.sentences));
}

struct CopyLinesCase {
  Entries entries;
  L level;
  std::vector<CopyLine> lines;
};

TEST(EvidenceCopyLines, ListWhatIsDefinedAndSayWhyTheRestIsNot) {
  const CopyLinesCase cases[] = {
      {{200, 50, 300, 120},
       L::k95,
       {{u"z", u"-3.47"},
        {u"p (two-sided)", u"0.00052"},
        {u"Interval low", u"-22.87%"},
        {u"Interval high", u"-6.61%"},
        {u"Smallest expected count", u"68.0"},
        {u"Exact p (Fisher)", u"0.00052"},
        {u"Player 1 base needed", u"64"},
        {u"Player 2 base needed", u"96"}}},
      {{10, 0, 20, 0},
       L::k80,
       {{u"Note", u"z and p are not defined when both players' results are 0 or both equal their bases"},
        {u"Interval low", u"-7.59%"},
        {u"Interval high", u"14.11%"},
        {u"Smallest expected count", u"0.0"},
        {u"Exact p (Fisher)", u"1"},
        {u"Note", u"No bases needed: the two rates are equal"}}},
      {{16777216, 8388608, 16777215, 8388607},
       L::k95,
       {{u"z", u"0.00"},
        {u"p (two-sided)", u"1"},
        {u"Interval low", u"-0.03%"},
        {u"Interval high", u"0.03%"},
        {u"Smallest expected count", u"8388607.3"},
        {u"Exact p (Fisher)", u"1"},
        {u"Note", u"No bases needed: more than 1000000000000000 would be needed"}}},
      {{30000000, 1, 30000000, 6},
       L::k90,
       {{u"z", u"-1.89"},
        {u"p (two-sided)", u"0.059"},
        {u"Interval low", u"0.00%"},
        {u"Interval high", u"0.00%"},
        {u"Smallest expected count", u"3.5"},
        {u"Note", u"Fisher's exact p is computed only for bases up to 16777216"},
        {u"Player 1 base needed", u"22592638"},
        {u"Player 2 base needed", u"22592638"}}},
      {{2.5f, 1, 3, 1},
       L::k95,
       {{u"Note",
         u"The extra numbers need whole counts: each base at least 1 and each results count from 0 to its base"}}},
  };
  for (const auto& c : cases) {
    const std::vector<CopyLine> lines = EvidenceCopyLines(Assess(c.entries, c.level));
    ASSERT_EQ(lines.size(), c.lines.size()) << Describe(c.entries);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(Narrow(lines[i].label), Narrow(c.lines[i].label)) << Describe(c.entries);
      EXPECT_EQ(Narrow(lines[i].value), Narrow(c.lines[i].value)) << Describe(c.entries);
    }
  }
}

struct RoundingCase {
  double z, p, low;
  std::u16string_view zCopy, pCopy, lowCopy, sentenceStart;
};

TEST(EvidenceText, RoundsWithoutAMinusOnZero) {
  // clang-format off
  const RoundingCase cases[] = {
      {-0.004,     1,         -0.00004, u"0.00",   u"1",        u"0.00%",   u"z = 0.00, two-sided p = 1. 95% confidence interval for Player 1 % \u2212 Player 2 %: 0.00 to"},
      {0.004,      0.996,     0.00004,  u"0.00",   u"1",        u"0.00%",   u"z = 0.00, two-sided p = 1. "},
      {-0.006,     0.994,     -0.00006, u"-0.01",  u"0.99",     u"-0.01%",  u"z = \u22120.01, two-sided p = 0.99. 95% confidence interval for Player 1 % \u2212 Player 2 %: \u22120.01 to"},
      {-12.345678, 0.0995,    -1,       u"-12.35", u"0.10",     u"-100.00%", u"z = \u221212.35, two-sided p = 0.10. "},
      {2,          0.05,      0.5,      u"2.00",   u"0.050",    u"50.00%",  u"z = 2.00, two-sided p = 0.050. "},
      {3.5,        0.0001,    0.12345,  u"3.50",   u"0.00010",  u"12.35%",  u"z = 3.50, two-sided p = 0.00010. "},
      {4,          0.0000999, 0,        u"4.00",   u"< 0.0001", u"0.00%",   u"z = 4.00, two-sided p < 0.0001. "},
      {40,         0,         0,        u"40.00",  u"< 0.0001", u"0.00%",   u"z = 40.00, two-sided p < 0.0001. "},
      // Ties and near-ties of the exact binary values: an exact tie goes to the even digit.
      {0.125,      0.125,     0.5,      u"0.12",   u"0.12",     u"50.00%",  u"z = 0.12, two-sided p = 0.12. "},
      {0.375,      0.00625,   0,        u"0.38",   u"0.0063",   u"0.00%",   u"z = 0.38, two-sided p = 0.0063. "},
      {2.675,      0.0355,    0,        u"2.67",   u"0.035",    u"0.00%",   u"z = 2.67, two-sided p = 0.035. "},
      {-1.005,     0.995,     0,        u"-1.00",  u"0.99",     u"0.00%",   u"z = \u22121.00, two-sided p = 0.99. "},
      {0x1p70,     0.9951,    0,        u"1180591620717411303424.00", u"1", u"0.00%", u"z = 1180591620717411303424.00, two-sided p = 1. "},
      {1e22,       0.00015,   0,        u"10000000000000000000000.00", u"0.00015", u"0.00%", u"z = 10000000000000000000000.00, two-sided p = 0.00015. "},
  };
  // clang-format on
  for (const auto& c : cases) {
    Evidence e;
    e.z = c.z;
    e.p = c.p;
    e.low = c.low;
    e.high = 1;
    e.smallestExpected = 10;
    const std::vector<CopyLine> lines = EvidenceCopyLines(e);
    EXPECT_EQ(Narrow(lines[0].value), Narrow(c.zCopy)) << c.z;
    EXPECT_EQ(Narrow(lines[1].value), Narrow(c.pCopy)) << c.p;
    EXPECT_EQ(Narrow(lines[2].value), Narrow(c.lowCopy)) << c.low;
    EXPECT_EQ(Narrow(EvidenceSentences(e).substr(0, c.sentenceStart.size())), Narrow(c.sentenceStart)) << c.z;
  }
}

}  // namespace
}  // namespace quillomat
