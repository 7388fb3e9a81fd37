// The handlers as every shell runs them: visibility held back to the end of a run, errors
// reported at the edge of the event delivery, and whether the results on screen are current.
#include "window_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_model.h"

namespace quillomat {
namespace {

using C = Control;
using testing::FormModel;
using testing::Narrow;

class RecordingDesktop : public Desktop {
 public:
  void MessageBox(std::u16string_view prompt) override { messages.push_back(Narrow(prompt)); }
  void EndProgram() override { ++ends; }
  void ReportError(std::u16string_view message) override { errors.push_back(Narrow(message)); }

  std::vector<std::string> messages, errors;
  int ends = 0;
};

class WindowSessionTest : public ::testing::Test {
 protected:
  WindowSessionTest() {
    model.StateOf(C::opt95).selected = true;
    model.OnChange(C::txtBase1, [this] { session.Run(&FormHandlers::txtBase1_Change); });
    model.OnChange(C::txtResp1, [this] { session.Run(&FormHandlers::txtResp1_Change); });
    model.OnChange(C::txtBase2, [this] { session.Run(&FormHandlers::txtBase2_Change); });
    model.OnChange(C::txtResp2, [this] { session.Run(&FormHandlers::txtResp2_Change); });
    model.OnChange(C::lblDiffNeedb, [this] { session.CaptionChanged(C::lblDiffNeedb); });
    session.OnRunEnd([this] { ++runEnds; });
    session.Run(&FormHandlers::Form_Load);
  }

  void Enter(std::u16string_view b1, std::u16string_view r1, std::u16string_view b2, std::u16string_view r2) {
    model.SetText(C::txtBase1, b1);
    model.SetText(C::txtResp1, r1);
    model.SetText(C::txtBase2, b2);
    model.SetText(C::txtResp2, r2);
  }

  FormModel model;
  RecordingDesktop desktop;
  WindowSession session{model, desktop};
  int runEnds = 0;
};

TEST_F(WindowSessionTest, ResultsAreCurrentOnlyWhileTheyAreTheEntriesOwn) {
  struct Case {
    const char16_t *base1, *resp1, *base2, *resp2;
    bool current;
    const char* why;
  };
  const Case cases[] = {
      {u"200", u"50", u"300", u"120", true, "the typical run"},
      {u"200", u"250", u"300", u"120", false, "the warning shows"},
      {u"0", u"0", u"300", u"120", false, "the calculation stopped on an error"},
      {u"200", u"50", u"300", u"", false, "a box is empty"},
  };
  for (const Case& c : cases) {
    session.Run(&FormHandlers::cmdClearAll_Click);
    Enter(c.base1, c.resp1, c.base2, c.resp2);
    EXPECT_EQ(session.ResultsCurrent(), c.current) << c.why;
    // What the session believes is shown is what the controls show.
    for (C shown : {C::lblDiffNeedb, C::txtSigDiff, C::txtWarnSign})
      EXPECT_EQ(session.Controls().Shown(shown), model.StateOf(shown).visible) << c.why;
  }
}

TEST_F(WindowSessionTest, OnlyTheFinalVisibilityOfARunReachesTheControls) {
  Enter(u"200", u"50", u"300", u"12");
  model.tracing = true;
  model.SetText(C::txtResp2, u"120");
  std::vector<std::string> verdictWrites;
  for (const std::string& access : model.trace)
    if (access.starts_with("SetVisible txtSigDiff")) verdictWrites.push_back(access);
  // A keystroke's run hides and shows the verdict several times; the controls see one show.
  EXPECT_EQ(verdictWrites, std::vector<std::string>{"SetVisible txtSigDiff 1"});
  EXPECT_TRUE(model.StateOf(C::txtSigDiff).visible);
}

TEST_F(WindowSessionTest, ALevelClickWithoutAllNumbersAsksForThemThroughTheDesktop) {
  model.SetText(C::txtBase1, u"200");
  session.Run(&FormHandlers::opt80_Click);
  EXPECT_EQ(desktop.messages, std::vector<std::string>{"Please insert all numbers first"});
  EXPECT_TRUE(desktop.errors.empty());
}

TEST_F(WindowSessionTest, AnErrorIsReportedAndTheProgramCarriesOn) {
  Enter(u"200", u"0", u"300", u"120");
  const int before = runEnds;
  model.SetText(C::txtBase1, u"0");
  ASSERT_EQ(desktop.errors.size(), 1u);
  EXPECT_NE(desktop.errors[0].find("Player 1's base and results are both zero"), std::string::npos)
      << desktop.errors[0];
  EXPECT_FALSE(session.ResultsCurrent());
  EXPECT_GT(runEnds, before);
  // The explanation still speaks of the last results that were current, and says so.
  EXPECT_TRUE(session.VerdictExplanation().starts_with(u"These are the previous entries' results"));

  model.SetText(C::txtBase1, u"100");
  EXPECT_EQ(desktop.errors.size(), 1u);
  EXPECT_TRUE(session.ResultsCurrent());
  EXPECT_EQ(Narrow(model.StateOf(C::lblPer1b).text), "00.00%");
}

TEST_F(WindowSessionTest, AControlThatRefusesAnAccessIsReportedLikeAFault) {
  Enter(u"200", u"50", u"300", u"12");
  // Player 2's percentage is the caption the keystroke changes, so its widget is written.
  model.FailOn(C::lblPer2b, "SetCaption");
  model.SetText(C::txtResp2, u"120");
  ASSERT_EQ(desktop.errors.size(), 1u);
  EXPECT_NE(desktop.errors[0].find("Something went wrong"), std::string::npos) << desktop.errors[0];
  EXPECT_FALSE(session.ResultsCurrent());
}

TEST_F(WindowSessionTest, TheExplanationFollowsTheLatestCurrentResults) {
  EXPECT_EQ(session.VerdictExplanation(), u"");
  Enter(u"200", u"50", u"300", u"120");
  const std::u16string typical = session.VerdictExplanation();
  EXPECT_TRUE(typical.starts_with(u"z = ")) << Narrow(typical);
  model.SetText(C::txtResp2, u"60");
  EXPECT_NE(session.VerdictExplanation(), typical);
  EXPECT_FALSE(session.VerdictExplanation().starts_with(u"These are the previous"));
}

TEST_F(WindowSessionTest, ExitEndsTheProgramThroughTheDesktop) {
  session.Run(&FormHandlers::cmdExit_Click);
  EXPECT_EQ(desktop.ends, 1);
}

}  // namespace
}  // namespace quillomat
