#include "evidence.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace quillomat {
namespace {

// The four counts and the table's totals, as doubles; every Single is one exactly.
struct Counts {
  double base1, resp1, base2, resp2;

  double Bases() const { return base1 + base2; }
  double Results() const { return resp1 + resp2; }
  double Failures() const { return (base1 - resp1) + (base2 - resp2); }
  // The products are exact for Singles, so equal rates compare equal and the difference is
  // rounded only once.
  bool EqualRates() const { return resp1 * base2 == resp2 * base1; }
  double Difference() const { return (resp1 * base2 - resp2 * base1) / (base1 * base2); }
};

bool IsWholeCount(float value) { return std::isfinite(value) && value == std::floor(value) && value >= 0; }

bool AreWholeCounts(float base1, float resp1, float base2, float resp2) {
  return IsWholeCount(base1) && IsWholeCount(resp1) && IsWholeCount(base2) && IsWholeCount(resp2) && base1 >= 1 &&
         base2 >= 1 && resp1 <= base1 && resp2 <= base2;
}

// --- z test -----------------------------------------------------------------------------------

// Absent when all results or all failures are zero: the pooled rate is then 0 or 1.
std::optional<double> ZStatistic(const Counts& c) {
  const double results = c.Results(), failures = c.Failures();
  if (results == 0 || failures == 0) return std::nullopt;
  // w (1 - w) with 1 - w from the failures: it never rounds to zero.
  const double pooled = (results / c.Bases()) * (failures / c.Bases());
  const double standardError = std::sqrt(pooled * (1 / c.base1 + 1 / c.base2));
  return c.Difference() / standardError;
}

double TwoSidedP(double z) { return std::erfc(std::fabs(z) / std::numbers::sqrt2); }

// --- Confidence interval ----------------------------------------------------------------------

struct Bounds {
  double low, high;
};

// Wilson's score interval for `resp` of `base`. The lower bound is written without the
// subtraction of nearly equal terms, so that it is exactly 0 at 0 and precise near it.
Bounds WilsonBounds(double resp, double base, double quantile) {
  const double q2 = quantile * quantile;
  const double rate = resp / base;
  const double sum = 2 * resp + q2 + quantile * std::sqrt(q2 + 4 * resp * ((base - resp) / base));
  const double low = 2 * resp * (resp + q2 * rate) / (sum * (base + q2));
  const double high = resp == base ? 1 : std::min(1.0, sum / (2 * (base + q2)));
  return {low, high};
}

// Newcombe (1998), method 10: the two players' Wilson intervals combined.
Bounds NewcombeInterval(const Counts& c, double quantile) {
  const double rate1 = c.resp1 / c.base1, rate2 = c.resp2 / c.base2;
  const Bounds one = WilsonBounds(c.resp1, c.base1, quantile);
  const Bounds two = WilsonBounds(c.resp2, c.base2, quantile);
  const double difference = c.Difference();
  const double low = difference - std::hypot(rate1 - one.low, two.high - rate2);
  const double high = difference + std::hypot(one.high - rate1, rate2 - two.low);
  return {std::max(-1.0, low), std::min(1.0, high)};
}

double SmallestExpected(const Counts& c) {
  return std::min(c.base1, c.base2) * (std::min(c.Results(), c.Failures()) / c.Bases());
}

// --- Fisher's exact test ----------------------------------------------------------------------

// log(Gamma(n + 1)) - (n + 1/2) log(n) + n - log(sqrt(2 pi)), Stirling's remainder, for n >= 1.
double StirlingRemainder(double n) {
  constexpr double kLogSqrt2Pi = 0.91893853320467274178;
  if (n <= 15) return std::lgamma(n + 1) - (n + 0.5) * std::log(n) + n - kLogSqrt2Pi;
  constexpr double s0 = 1.0 / 12, s1 = 1.0 / 360, s2 = 1.0 / 1260, s3 = 1.0 / 1680, s4 = 1.0 / 1188;
  const double nn = n * n;
  if (n > 500) return (s0 - s1 / nn) / n;
  if (n > 80) return (s0 - (s1 - s2 / nn) / nn) / n;
  if (n > 35) return (s0 - (s1 - (s2 - s3 / nn) / nn) / nn) / n;
  return (s0 - (s1 - (s2 - (s3 - s4 / nn) / nn) / nn) / nn) / n;
}

// x log(x / mean) + mean - x, by its series when x is near the mean, where the direct form
// cancels.
double Deviance(double x, double mean) {
  if (std::fabs(x - mean) >= 0.1 * (x + mean)) return x * std::log(x / mean) + mean - x;
  const double v = (x - mean) / (x + mean), v2 = v * v;
  double sum = (x - mean) * v, term = 2 * x * v;
  for (int j = 1; j < 100; ++j) {
    term *= v2;
    const double next = sum + term / (2 * j + 1);
    if (next == sum) break;
    sum = next;
  }
  return sum;
}

// log P(x successes of n) for success rate p and failure rate q = 1 - p, each given so that
// neither loses digits to the other. Loader's saddle-point form: precise even where log-gamma
// values of large counts would cancel.
double LogBinomial(double x, double n, double p, double q) {
  if (x == 0) return p < 0.1 ? -Deviance(n, n * q) - n * p : n * std::log(q);
  if (x == n) return q < 0.1 ? -Deviance(n, n * p) - n * q : n * std::log(p);
  const double exponent = StirlingRemainder(n) - StirlingRemainder(x) - StirlingRemainder(n - x) - Deviance(x, n * p) -
                          Deviance(n - x, n * q);
  const double logDensity = std::log(2 * std::numbers::pi) + std::log(x) + std::log1p(-x / n);
  return exponent - 0.5 * logDensity;
}

// Player 1's results given both bases and the results of both together. Every table with those
// margins has one value of it, from Lowest() to Highest().
class MarginsFixed {
 public:
  MarginsFixed(std::int64_t base1, std::int64_t base2, std::int64_t results)
      : base1_(base1),
        base2_(base2),
        results_(results),
        p_(static_cast<double>(results) / static_cast<double>(base1 + base2)),
        q_(static_cast<double>(base1 + base2 - results) / static_cast<double>(base1 + base2)),
        logTotal_(LogBinomial(D(results), D(base1 + base2), p_, q_)) {}

  std::int64_t Lowest() const { return std::max<std::int64_t>(0, results_ - base2_); }
  std::int64_t Highest() const { return std::min(base1_, results_); }
  std::int64_t Mode() const { return (base1_ + 1) * (results_ + 1) / (base1_ + base2_ + 2); }

  double LogProbability(std::int64_t x) const {
    return LogBinomial(D(x), D(base1_), p_, q_) + LogBinomial(D(results_ - x), D(base2_), p_, q_) - logTotal_;
  }
  // P(x + step) / P(x) for a step of +1 or -1 that stays in the range.
  double Ratio(std::int64_t x, int step) const {
    if (step < 0) return D(x) * D(base2_ - results_ + x) / (D(base1_ - x + 1) * D(results_ - x + 1));
    return D(base1_ - x) * D(results_ - x) / (D(x + 1) * D(base2_ - results_ + x + 1));
  }

 private:
  static double D(std::int64_t value) { return static_cast<double>(value); }

  std::int64_t base1_, base2_, results_;
  double p_, q_, logTotal_;
};

// P(x) summed from `start` outward in the direction of `step`, to the end of the range. The
// terms fall ever faster away from the mode, so the rest after a term is at most term * r / (1 - r)
// for its ratio r to the one before; the sum stops once that is negligible.
double TailSum(const MarginsFixed& table, std::int64_t start, int step) {
  constexpr double kNegligible = 0x1p-56;
  const std::int64_t end = step < 0 ? table.Lowest() : table.Highest();
  double term = 1, sum = 1;
  for (std::int64_t x = start; x != end; x += step) {
    const double ratio = table.Ratio(x, step);
    term *= ratio;
    sum += term;
    if (term * ratio <= kNegligible * sum * (1 - ratio)) break;
  }
  return std::exp(table.LogProbability(start)) * sum;
}

// The probabilities, on one side of the mode, that are at most `limit`: they form a tail, from
// the end of the range in the direction of `step` back to the last x that is within the limit.
double TailAtMost(const MarginsFixed& table, std::int64_t mode, int step, double limit) {
  const std::int64_t beyond = (step < 0 ? table.Lowest() : table.Highest()) + step;
  std::int64_t inside = beyond, outside = mode;  // P(inside) <= limit < P(outside)
  while (std::abs(inside - outside) > 1) {
    const std::int64_t middle = outside + (inside - outside) / 2;
    (table.LogProbability(middle) <= limit ? inside : outside) = middle;
  }
  return inside == beyond ? 0 : TailSum(table, inside, step);
}

// Two-sided: the probabilities of all tables with these margins that are at most the observed
// table's, within a relative 1e-7 as R's fisher.test counts ties.
double FisherExactP(std::int64_t base1, std::int64_t resp1, std::int64_t base2, std::int64_t resp2) {
  const MarginsFixed table(base1, base2, resp1 + resp2);
  const std::int64_t mode = table.Mode();
  const double limit = table.LogProbability(resp1) + std::log1p(1e-7);
  if (table.LogProbability(mode) <= limit) return 1;
  return std::min(1.0, TailAtMost(table, mode, -1, limit) + TailAtMost(table, mode, 1, limit));
}

std::optional<double> FisherExactP(const Counts& c) {
  if (c.base1 > kFisherBaseLimit || c.base2 > kFisherBaseLimit) return std::nullopt;
  const auto whole = [](double count) { return static_cast<std::int64_t>(count); };
  return FisherExactP(whole(c.base1), whole(c.resp1), whole(c.base2), whole(c.resp2));
}

// --- Bases needed -----------------------------------------------------------------------------

// The smallest whole number not below `bases`. A product within rounding of a whole number is
// that number: its few roundings stay far inside 1e-13 of it.
double WholeBasesAtLeast(double bases) {
  const double nearest = std::round(bases);
  return std::fabs(bases - nearest) <= 1e-13 * bases ? nearest : std::ceil(bases);
}

// Scaling both bases by k scales z by sqrt(k): significance needs k = (critical / z)^2.
std::optional<BasesNeeded> FindBasesNeeded(const Counts& c, double z, double criticalValue) {
  const double ratio = criticalValue / z;
  const double base1 = WholeBasesAtLeast(ratio * ratio * c.base1);
  const double base2 = WholeBasesAtLeast(ratio * ratio * c.base2);
  constexpr auto kMost = static_cast<double>(kMostBasesNeeded);
  if (!(base1 <= kMost && base2 <= kMost)) return std::nullopt;
  return BasesNeeded{static_cast<std::int64_t>(base1), static_cast<std::int64_t>(base2)};
}

}  // namespace

LevelValues ValuesOf(ConfidenceLevel level) {
  switch (level) {
    case ConfidenceLevel::k80: return {80, 1.28, 1.2815515655446004};
    case ConfidenceLevel::k90: return {90, 1.64, 1.6448536269514722};
    case ConfidenceLevel::k95: return {95, 1.96, 1.959963984540054};
    case ConfidenceLevel::k99: return {99, 2.33, 2.5758293035489004};
  }
  return {95, 1.96, 1.959963984540054};
}

std::optional<Evidence> AssessEvidence(float base1, float resp1, float base2, float resp2, ConfidenceLevel level) {
  if (!AreWholeCounts(base1, resp1, base2, resp2)) return std::nullopt;
  const Counts c{base1, resp1, base2, resp2};
  const LevelValues values = ValuesOf(level);

  Evidence e;
  e.level = level;
  e.z = ZStatistic(c);
  if (e.z) e.p = TwoSidedP(*e.z);
  const Bounds interval = NewcombeInterval(c, values.quantile);
  e.low = interval.low;
  e.high = interval.high;
  e.smallestExpected = SmallestExpected(c);
  e.fisherP = FisherExactP(c);
  e.equalRates = c.EqualRates();
  if (!e.equalRates) e.basesNeeded = FindBasesNeeded(c, *e.z, values.criticalValue);
  return e;
}

}  // namespace quillomat
