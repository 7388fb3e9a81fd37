#include "calculate.h"

#include <array>
#include <cmath>
#include <limits>

#include "decimal_text.h"
#include "number_text.h"
#include "run_time_error.h"

namespace quillomat {
namespace {

using C = Control;

struct Level {
  Control button;
  float criticalValue;
};
// Read in this order; the first selected button decides.
constexpr std::array<Level, 4> kLevels{{{C::opt80, 1.28f}, {C::opt90, 1.64f}, {C::opt95, 1.96f}, {C::opt99, 2.33f}}};

// Round to nearest Single, ties to even; finite values beyond the Single range become infinities.
float RoundToSingle(double value) {
  // The midpoint between the largest Single and 2^128: from here on the nearest is infinity.
  constexpr double kOverflowThreshold = 0x1.ffffffp127;
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (std::isfinite(value) && std::fabs(value) >= kOverflowThreshold) return value > 0 ? kInfinity : -kInfinity;
  return static_cast<float>(value);
}

// Double-precision arithmetic that notes the IEEE 754 faults each operation raises, judged from
// its operands and result, so that the checks do not depend on the floating-point environment.
class CheckedArithmetic {
 public:
  double Add(double a, double b) { return Note(a + b, a, b); }
  double Sub(double a, double b) { return Note(a - b, a, b); }
  double Mul(double a, double b) { return Note(a * b, a, b); }
  double Div(double a, double b) {
    if (b == 0 && a != 0 && std::isfinite(a)) {
      divisionByZero_ = true;
      return a / b;
    }
    return Note(a / b, a, b);
  }
  float Store(double value) {
    const float stored = RoundToSingle(value);
    if (std::isfinite(value) && std::isinf(stored)) overflow_ = true;
    return stored;
  }
  // Stops the calculation with the fault noted since the last check, if any.
  void Check(FaultStep step) {
    if (invalid_) throw FloatingPointFault(FaultKind::InvalidOperation, step);
    if (divisionByZero_) throw FloatingPointFault(FaultKind::DivisionByZero, step);
    if (overflow_) throw FloatingPointFault(FaultKind::Overflow, step);
  }

 private:
  double Note(double result, double a, double b) {
    const bool finiteOperands = std::isfinite(a) && std::isfinite(b);
    if (std::isnan(result) && !std::isnan(a) && !std::isnan(b)) invalid_ = true;
    if (std::isinf(result) && finiteOperands) overflow_ = true;
    return result;
  }

  bool invalid_ = false;
  bool divisionByZero_ = false;
  bool overflow_ = false;
};

void ReadLevel(const FormControls& form, Singles& s) {
  for (const Level& level : kLevels) {
    if (form.Value(level.button)) {
      s.ZValue = level.criticalValue;
      return;
    }
  }
}

void ReadInputs(const FormControls& form, Singles& s) {
  s.Base1 = ReadEntry(form.Text(C::txtBase1));
  s.Base2 = ReadEntry(form.Text(C::txtBase2));
  s.Resp1 = ReadEntry(form.Text(C::txtResp1));
  s.Resp2 = ReadEntry(form.Text(C::txtResp2));
}

void ComputeProportions(Singles& s) {
  CheckedArithmetic fp;
  s.Per1 = fp.Store(fp.Div(s.Resp1, s.Base1));
  fp.Check(FaultStep::Player1Proportion);
  s.Per2 = fp.Store(fp.Div(s.Resp2, s.Base2));
  fp.Check(FaultStep::Player2Proportion);

  const double pooled = fp.Div(fp.Add(s.Resp2, s.Resp1), fp.Add(s.Base2, s.Base1));
  fp.Check(FaultStep::PooledProportion);
  s.WAvg = fp.Store(pooled);
  const double radicand = fp.Mul(fp.Add(fp.Div(1, s.Base2), fp.Div(1, s.Base1)), fp.Mul(fp.Sub(1, s.WAvg), s.WAvg));
  fp.Check(FaultStep::Radicand);

  // Only negative entries reach a negative radicand; its root would be meaningless.
  if (radicand < 0) throw FloatingPointFault(FaultKind::InvalidOperation, FaultStep::Root);
  const double root = std::pow(radicand, 0.5);
  s.DiffNeed = fp.Store(fp.Mul(root, s.ZValue));
  fp.Check(FaultStep::DifferenceNeeded);
}

std::u16string ActualDifferenceText(const Singles& s) {
  if (s.Per1 == s.Per2) return IntegerToText(0);
  CheckedArithmetic fp;
  const float difference = s.Per1 > s.Per2 ? fp.Store(fp.Sub(s.Per1, s.Per2)) : fp.Store(fp.Sub(s.Per2, s.Per1));
  fp.Check(FaultStep::ActualDifference);
  return SingleToText(difference);
}

// Writes the plain number text, then re-formats the caption from what it now holds.
void WriteFormatted(FormControls& form, Control label, std::u16string_view plain) {
  form.SetCaption(label, plain);
  form.SetCaption(label, FormatPercent(form.Caption(label)));
}

void WriteCaptions(FormControls& form, const Singles& s) {
  WriteFormatted(form, C::lblPer1b, SingleToText(s.Per1));
  WriteFormatted(form, C::lblPer2b, SingleToText(s.Per2));
  form.SetCaption(C::lblWAvgb, SingleToText(s.WAvg));
  WriteFormatted(form, C::lblActDiffb, ActualDifferenceText(s));
  WriteFormatted(form, C::lblDiffNeedb, SingleToText(s.DiffNeed));
}

// Percentage texts compared as the decimal numbers they show; texts that are not numbers fall
// back to character order.
int CompareShownValues(std::u16string_view left, std::u16string_view right) {
  const auto strip = [](std::u16string_view t) {
    return !t.empty() && t.back() == u'%' ? t.substr(0, t.size() - 1) : t;
  };
  const auto l = ParseDecimal(strip(left));
  const auto r = ParseDecimal(strip(right));
  return l && r ? CompareDecimal(*l, *r) : CompareText(left, right);
}

// Significant only when the difference needed, as shown, is below the actual difference as shown.
void WriteVerdict(FormControls& form) {
  const std::u16string needed = form.Caption(C::lblDiffNeedb);
  const std::u16string actual = form.Caption(C::lblActDiffb);
  const bool significant = CompareShownValues(needed, actual) < 0;
  form.SetVisible(C::txtSigDiff, true);
  form.SetText(C::txtSigDiff, significant ? kSignificant : kNotSignificant);
}

}  // namespace

float ReadEntry(std::u16string_view text) { return RoundToSingle(ReadNumber(text)); }

void Calculate(FormControls& form, Singles& singles) {
  ReadLevel(form, singles);
  ReadInputs(form, singles);
  if (singles.Resp1 > singles.Base1 || singles.Resp2 > singles.Base2) {
    form.SetVisible(C::txtWarnSign, true);
    return;
  }
  form.SetVisible(C::txtWarnSign, false);
  ComputeProportions(singles);
  WriteCaptions(form, singles);
  WriteVerdict(form);
}

}  // namespace quillomat
