#include "calculate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "form_model.h"
#include "number_text.h"
#include "run_time_error.h"

namespace quillomat {
namespace {

using C = Control;
using testing::FormModel;
using testing::Narrow;

constexpr C kResultLabels[] = {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb};

struct Entries {
  std::u16string_view base1, resp1, base2, resp2;
  C level = C::opt95;
};

// A window model whose difference-needed label re-formats the results when it changes, the way
// the window does it, counting the runs.
class CalculateTest : public ::testing::Test {
 protected:
  void WireHideLabel() {
    form.OnChange(C::lblDiffNeedb, [this] { HideLabel(C::lblDiffNeedb); });
  }

  void HideLabel(C name) {
    ++hideLabelRuns;
    form.SetCaption(name, FormatPercent(form.Caption(name)));
    for (C label : {C::lblWAvgb, C::lblPer1b, C::lblPer2b, C::lblDiffNeedb, C::lblActDiffb})
      form.SetCaption(label, FormatPercent(form.Caption(label)));
  }

  void Enter(const Entries& e) {
    form.StateOf(C::txtBase1).text = e.base1;
    form.StateOf(C::txtResp1).text = e.resp1;
    form.StateOf(C::txtBase2).text = e.base2;
    form.StateOf(C::txtResp2).text = e.resp2;
    form.Select(e.level);
  }

  std::string Shown(C control) const { return Narrow(form.StateOf(control).text); }

  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (C label : kResultLabels) captions.push_back(Shown(label));
    captions.push_back(Shown(C::txtSigDiff));
    return captions;
  }

  FormModel form;
  Singles singles;
  int hideLabelRuns = 0;
};

const std::string kYes = Narrow(kSignificant);
const std::string kNo = Narrow(kNotSignificant);

struct WorkedExample {
  Entries entries;
  const char *per1, *per2, *wavg, *actual, *needed;
  const std::string& verdict;
};

TEST_F(CalculateTest, WorkedExamples) {
  const WorkedExample examples[] = {
      {{u"200", u"50", u"300", u"120"}, "25.00%", "40.00%", "34.00%", "15.00%", "08.48%", kYes},
      {{u"100", u"10", u"100", u"20", C::opt80}, "10.00%", "20.00%", "15.00%", "10.00%", "06.46%", kYes},
      {{u"100", u"10", u"100", u"20", C::opt99}, "10.00%", "20.00%", "15.00%", "10.00%", "11.77%", kNo},
      {{u"100", u"50", u"100", u"50"}, "50.00%", "50.00%", "50.00%", "00.00%", "13.86%", kNo},
      {{u"1000", u"523", u"1000", u"480", C::opt90}, "52.30%", "48.00%", "50.15%", "04.30%", "03.67%", kYes},
      // From 100% up the verdict still compares the values shown, not their characters.
      {{u"1", u"0", u"2", u"1"}, "00.00%", "50.00%", "33.33%", "50.00%", "113.16%", kNo},
      {{u"3", u"0", u"3", u"3"}, "00.00%", "100.00%", "50.00%", "100.00%", "80.02%", kYes},
      {{u"10", u"0", u"10", u"0"}, "00.00%", "00.00%", "00.00%", "00.00%", "00.00%", kNo},
      {{u"1", u"1", u"1", u"1"}, "100.00%", "100.00%", "100.00%", "00.00%", "00.00%", kNo},
      {{u"50", u"50", u"100", u"50"}, "100.00%", "50.00%", "66.67%", "50.00%", "16.00%", kYes},
      {{u" 200 ", u"50", u"300", u"120abc"}, "25.00%", "40.00%", "34.00%", "15.00%", "08.48%", kYes},
  };
  WireHideLabel();
  for (const auto& ex : examples) {
    Enter(ex.entries);
    hideLabelRuns = 0;
    Calculate(form, singles);
    const std::vector<std::string> expected{ex.per1, ex.per2, ex.wavg, ex.actual, ex.needed, ex.verdict};
    EXPECT_EQ(Captions(), expected) << Narrow(ex.entries.base1) << "/" << Narrow(ex.entries.resp1) << " vs "
                                    << Narrow(ex.entries.base2) << "/" << Narrow(ex.entries.resp2);
    EXPECT_EQ(hideLabelRuns, 2);
    EXPECT_TRUE(form.StateOf(C::txtSigDiff).visible);
    EXPECT_FALSE(form.StateOf(C::txtWarnSign).visible);
  }
}

TEST_F(CalculateTest, ReadsAndWritesInItsFixedOrder) {
  Enter({u"200", u"50", u"300", u"120"});
  form.tracing = true;
  Calculate(form, singles);
  const std::vector<std::string> expected{
      "Value opt80",
      "Value opt90",
      "Value opt95",
      "Text txtBase1",
      "Text txtBase2",
      "Text txtResp1",
      "Text txtResp2",
      "SetVisible txtWarnSign 0",
      "SetCaption lblPer1b 0.25",
      "Caption lblPer1b",
      "SetCaption lblPer1b 25.00%",
      "SetCaption lblPer2b 0.4",
      "Caption lblPer2b",
      "SetCaption lblPer2b 40.00%",
      "SetCaption lblWAvgb 0.34",
      "SetCaption lblActDiffb 0.15",
      "Caption lblActDiffb",
      "SetCaption lblActDiffb 15.00%",
      "SetCaption lblDiffNeedb 0.08475725",
      "Caption lblDiffNeedb",
      "SetCaption lblDiffNeedb 08.48%",
      "Caption lblDiffNeedb",
      "Caption lblActDiffb",
      "SetVisible txtSigDiff 1",
      "SetText txtSigDiff   SIGNIFICANTLY DIFFERENT  ",
  };
  EXPECT_EQ(form.trace, expected);
  // Without the window's re-format, the weighted average stays plain text.
  EXPECT_EQ(Shown(C::lblWAvgb), "0.34");
}

TEST_F(CalculateTest, PlainTextsComeFirstEvenWhenWired) {
  WireHideLabel();
  Enter({u"1000", u"523", u"1000", u"480", C::opt90});
  form.tracing = true;
  Calculate(form, singles);
  const auto wrote = [&](const std::string& entry) {
    return std::find(form.trace.begin(), form.trace.end(), entry) != form.trace.end();
  };
  EXPECT_TRUE(wrote("SetCaption lblActDiffb 0.04300001"));
  EXPECT_TRUE(wrote("SetCaption lblWAvgb 0.5015"));
  EXPECT_TRUE(wrote("SetCaption lblWAvgb 50.15%"));
}

TEST_F(CalculateTest, ChangingOnlyTheLevelChangesOnlyTheDifferenceNeededAndVerdict) {
  WireHideLabel();
  Enter({u"100", u"10", u"100", u"20", C::opt80});
  Calculate(form, singles);
  auto before = Captions();
  form.Select(C::opt99);
  Calculate(form, singles);
  auto after = Captions();
  EXPECT_EQ(before[4], "06.46%");
  EXPECT_EQ(after[4], "11.77%");
  before.erase(before.begin() + 4, before.end());
  after.erase(after.begin() + 4, after.end());
  EXPECT_EQ(before, after);
}

TEST_F(CalculateTest, AResultsCountAboveItsBaseWarnsAndKeepsEverythingElse) {
  const Entries warnings[] = {
      {u"100", u"101", u"100", u"20"}, {u"100", u"10", u"100", u"101"}, {u"abc", u"5", u"100", u"20"},
      {u"", u"0.5", u"1", u"1"},       {u"1e38", u"1e39", u"1", u"1"},  {u"-5", u"-4", u"1", u"1"},
  };
  WireHideLabel();
  for (const auto& warning : warnings) {
    Enter({u"200", u"50", u"300", u"120"});
    Calculate(form, singles);
    const auto previous = Captions();
    const Singles before = singles;

    Enter(warning);
    hideLabelRuns = 0;
    Calculate(form, singles);
    EXPECT_TRUE(form.StateOf(C::txtWarnSign).visible) << Narrow(warning.base1);
    EXPECT_EQ(Captions(), previous);
    EXPECT_TRUE(form.StateOf(C::txtSigDiff).visible);
    EXPECT_EQ(hideLabelRuns, 0);
    EXPECT_EQ(singles.Per1, before.Per1);
    EXPECT_EQ(singles.DiffNeed, before.DiffNeed);
  }
}

TEST_F(CalculateTest, AWarningBeforeAnyResultShowsNothingElse) {
  Enter({u"10", u"11", u"10", u"1"});
  Calculate(form, singles);
  EXPECT_TRUE(form.StateOf(C::txtWarnSign).visible);
  EXPECT_FALSE(form.StateOf(C::txtSigDiff).visible);
  for (C label : kResultLabels) EXPECT_EQ(Shown(label), "");
}

struct FaultCase {
  Entries entries;
  FaultKind kind;
  FaultStep step;
};

TEST_F(CalculateTest, FloatingPointFaultsStopBeforeAnyCaptionIsWritten) {
  const FaultCase faults[] = {
      {{u"0", u"0", u"10", u"1"}, FaultKind::InvalidOperation, FaultStep::Player1Proportion},
      {{u"abc", u"xyz", u"10", u"1"}, FaultKind::InvalidOperation, FaultStep::Player1Proportion},
      {{u"0", u"-1", u"10", u"1"}, FaultKind::DivisionByZero, FaultStep::Player1Proportion},
      {{u"-1e-38", u"-1e38", u"10", u"1"}, FaultKind::Overflow, FaultStep::Player1Proportion},
      {{u"10", u"1", u"", u" "}, FaultKind::InvalidOperation, FaultStep::Player2Proportion},
      {{u"10", u"1", u"-0", u"-3"}, FaultKind::DivisionByZero, FaultStep::Player2Proportion},
      {{u"1e39", u"1e39", u"10", u"1"}, FaultKind::InvalidOperation, FaultStep::Player1Proportion},
      {{u"-5", u"-6", u"5", u"1"}, FaultKind::DivisionByZero, FaultStep::PooledProportion},
      {{u"1", u"1", u"-0.99999994", u"-1e38"}, FaultKind::Overflow, FaultStep::Radicand},
      {{u"-10", u"-10", u"20", u"15"}, FaultKind::InvalidOperation, FaultStep::Root},
      {{u"-0.5", u"-1e38", u"1", u"0"}, FaultKind::Overflow, FaultStep::DifferenceNeeded},
  };
  WireHideLabel();
  for (const auto& fault : faults) {
    Enter({u"200", u"50", u"300", u"120"});
    Calculate(form, singles);
    const auto previous = Captions();
    form.StateOf(C::txtWarnSign).visible = true;

    Enter(fault.entries);
    hideLabelRuns = 0;
    try {
      Calculate(form, singles);
      ADD_FAILURE() << "no fault for " << Narrow(fault.entries.base1) << "/" << Narrow(fault.entries.resp1) << " vs "
                    << Narrow(fault.entries.base2) << "/" << Narrow(fault.entries.resp2);
    } catch (const FloatingPointFault& error) {
      EXPECT_EQ(error.kind(), fault.kind) << error.what();
      EXPECT_EQ(error.step(), fault.step) << Narrow(fault.entries.base1);
    }
    EXPECT_FALSE(form.StateOf(C::txtWarnSign).visible);
    EXPECT_EQ(Captions(), previous);
    EXPECT_EQ(hideLabelRuns, 0);
  }
}

TEST_F(CalculateTest, EntriesBeyondTheSingleRangeAreInfinitiesWithoutError) {
  WireHideLabel();
  Enter({u"1e39", u"5", u"100", u"20"});
  Calculate(form, singles);
  EXPECT_EQ(Shown(C::lblPer1b), "00.00%");
  EXPECT_TRUE(std::isinf(singles.Base1));
  Enter({u"3.4e38", u"3.4e38", u"3.4e38", u"1"});
  Calculate(form, singles);
  EXPECT_EQ(Shown(C::lblPer1b), "100.00%");
  EXPECT_EQ(Shown(C::lblWAvgb), "50.00%");
}

TEST_F(CalculateTest, WithNoLevelSelectedTheCriticalValueStaysAsItWas) {
  WireHideLabel();
  Enter({u"200", u"50", u"300", u"120", C::opt95});
  form.Select(C::Image1);  // clears every option button
  Calculate(form, singles);
  EXPECT_EQ(Shown(C::lblDiffNeedb), "00.00%");
  EXPECT_EQ(Shown(C::txtSigDiff), kYes);

  form.Select(C::opt99);
  Calculate(form, singles);
  form.Select(C::Image1);
  Calculate(form, singles);
  EXPECT_EQ(singles.ZValue, 2.33f);
  EXPECT_EQ(Shown(C::lblDiffNeedb), "10.08%");
}

TEST_F(CalculateTest, AControlThatRefusesAWriteStopsTheRunThere) {
  WireHideLabel();
  Enter({u"200", u"50", u"300", u"120"});
  form.FailOn(C::lblPer2b, "SetCaption");
  EXPECT_THROW(Calculate(form, singles), ControlAccessError);
  EXPECT_EQ(Shown(C::lblPer1b), "25.00%");
  EXPECT_EQ(Shown(C::lblPer2b), "");
  EXPECT_FALSE(form.StateOf(C::txtSigDiff).visible);
}

}  // namespace
}  // namespace quillomat
