#pragma once
// How strong the evidence is: the z statistic and its p-value, a confidence interval for the
// difference of the two rates, the smallest expected count with Fisher's exact test for when it
// is small, and the bases at which the difference would become significant. All in double
// precision, from whole counts only.

#include <cstdint>
#include <optional>

namespace quillomat {

enum class ConfidenceLevel : std::uint8_t { k80, k90, k95, k99 };

struct LevelValues {
  int percent;           // the confidence, 80 to 99
  double criticalValue;  // the window's rounded value (1.28 ...): the bases needed use it
  double quantile;       // the exact two-sided normal quantile: the interval uses it
};

LevelValues ValuesOf(ConfidenceLevel level);

// Fisher's exact test is computed, whatever the expected counts, for bases up to 2^24: every
// whole number up to there is a Single, and the work stays well under a millisecond. Larger
// bases go without it.
inline constexpr double kFisherBaseLimit = 16777216;
// Bases needed beyond this are not reported: the difference is too small to matter.
inline constexpr std::int64_t kMostBasesNeeded = 1'000'000'000'000'000;

struct BasesNeeded {
  std::int64_t base1 = 0, base2 = 0;
};

// Every value that is present is finite. Rates and their difference are fractions, not percent.
struct Evidence {
  ConfidenceLevel level = ConfidenceLevel::k95;
  // Signed as player 1's rate minus player 2's; absent, with p, when both results are 0 or both
  // equal their bases.
  std::optional<double> z;
  std::optional<double> p;  // two-sided
  // Newcombe's hybrid score interval for the difference of the rates, within [-1, 1].
  double low = 0, high = 0;
  double smallestExpected = 0;
  std::optional<double> fisherP;  // two-sided; absent for bases above kFisherBaseLimit
  bool equalRates = false;        // exactly, as fractions of whole counts
  // The smallest bases, at the same rates and in the proportion entered, at which the difference
  // would be significant by the window's critical value. Absent when the rates are equal or more
  // than kMostBasesNeeded would be needed.
  std::optional<BasesNeeded> basesNeeded;
};

// Present only for whole counts: each base a whole number of at least 1 and each results count a
// whole number from 0 to its base.
std::optional<Evidence> AssessEvidence(float base1, float resp1, float base2, float resp2, ConfidenceLevel level);

}  // namespace quillomat
