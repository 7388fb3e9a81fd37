// The window's behaviour on the in-memory window model: fill-state tracking, clearing, the
// triggers of a calculation and the re-formatting chain.
#include "form_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "error_message.h"
#include "form_model.h"
#include "run_time_error.h"

namespace quillomat {
namespace {

using C = Control;
using testing::FormModel;
using testing::Narrow;

class RecordingPlatform : public Platform {
 public:
  void MessageBox(std::u16string_view prompt) override { messages.push_back(Narrow(prompt)); }
  void EndProgram() override { ++ends; }
  std::vector<std::string> messages;
  int ends = 0;
};

enum class Group { One, Two };

class FormHandlersTest : public ::testing::Test {
 protected:
  FormHandlersTest() {
    model.StateOf(C::opt95).selected = true;
    model.OnChange(C::txtBase1, [this] { form.txtBase1_Change(); });
    model.OnChange(C::txtResp1, [this] { form.txtResp1_Change(); });
    model.OnChange(C::txtBase2, [this] { form.txtBase2_Change(); });
    model.OnChange(C::txtResp2, [this] { form.txtResp2_Change(); });
    model.OnChange(C::lblDiffNeedb, [this] {
      ++hideLabelRuns;
      form.lblDiffNeedb_Change();
    });
    form.Form_Load();
  }

  // Types the text one character at a time, as keystrokes do.
  void Type(C box, std::u16string_view text) {
    for (char16_t c : text) model.SetText(box, model.StateOf(box).text + c);
  }
  void Backspace(C box) {
    std::u16string text = model.StateOf(box).text;
    if (!text.empty()) text.pop_back();
    model.SetText(box, text);
  }
  void EmptyByHand(C box) {
    while (!model.StateOf(box).text.empty()) Backspace(box);
  }

  void Enter(std::u16string_view b1, std::u16string_view r1, std::u16string_view b2, std::u16string_view r2) {
    Type(C::txtBase1, b1);
    Type(C::txtResp1, r1);
    Type(C::txtBase2, b2);
    Type(C::txtResp2, r2);
  }

  std::string Enabled() const {
    std::string flags;
    for (C b : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) flags += model.StateOf(b).enabled ? '1' : '0';
    return flags;
  }
  std::string Visible() const {
    std::string flags;
    for (C c : {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb, C::txtSigDiff, C::txtWarnSign})
      flags += model.StateOf(c).visible ? '1' : '0';
    return flags;
  }
  std::string Shown(C c) const { return Narrow(model.StateOf(c).text); }

  FormModel model;
  RecordingPlatform platform;
  FormHandlers form{model, platform};
  int hideLabelRuns = 0;
};

TEST_F(FormHandlersTest, LoadLeavesTheFirstShownState) {
  EXPECT_EQ(Enabled(), "000");
  EXPECT_EQ(Visible(), "1111100");  // the boxes start empty: no change event, labels as created
  EXPECT_TRUE(model.StateOf(C::opt95).selected);
}

TEST_F(FormHandlersTest, TypicalRunKeystrokeByKeystroke) {
  struct Step {
    C box;
    char16_t key;
    const char* enabled;
    const char* visible;
  };
  const Step steps[] = {
      {C::txtBase1, u'2', "100", "0000000"}, {C::txtBase1, u'0', "100", "0000000"},
      {C::txtBase1, u'0', "100", "0000000"}, {C::txtResp1, u'5', "100", "0000000"},
      {C::txtResp1, u'0', "100", "0000000"}, {C::txtBase2, u'3', "111", "0000000"},
      {C::txtBase2, u'0', "111", "0000000"}, {C::txtBase2, u'0', "111", "0000000"},
      {C::txtResp2, u'1', "111", "1111110"},  // 200/50 vs 300/1: calculated at once
      {C::txtResp2, u'2', "111", "1111110"}, {C::txtResp2, u'0', "111", "1111110"},
  };
  int step = 0;
  for (const auto& s : steps) {
    hideLabelRuns = 0;
    Type(s.box, std::u16string(1, s.key));
    EXPECT_EQ(Enabled(), s.enabled) << "keystroke " << step;
    EXPECT_EQ(Visible(), s.visible) << "keystroke " << step;
    EXPECT_EQ(hideLabelRuns, s.visible[0] == '1' ? 2 : 0) << "keystroke " << step;
    ++step;
  }
  const std::vector<std::string> shown{Shown(C::lblPer1b),    Shown(C::lblPer2b),     Shown(C::lblWAvgb),
                                       Shown(C::lblActDiffb), Shown(C::lblDiffNeedb), Shown(C::txtSigDiff)};
  EXPECT_EQ(shown, (std::vector<std::string>{"25.00%", "40.00%", "34.00%", "15.00%", "08.48%",
                                             "  SIGNIFICANTLY DIFFERENT  "}));
}

enum class Event { TextIntoOne, TextIntoTwo, EmptyOne, EmptyTwo, Clear1, Clear2, ClearAll };

struct Transition {
  const char* from;
  Event event;
  const char* to;
};

TEST_F(FormHandlersTest, EveryTransitionOfTheFillStates) {
  // Buttons cmdClear1, cmdClear2, cmdClearAll enabled in each state, and a way to reach it.
  const auto flags = [](const std::string& state) {
    if (state == "S1") return "000";
    if (state == "S2") return "100";
    if (state == "S3") return "010";
    return "111";
  };
  const auto reach = [](const std::string& state) -> std::vector<Event> {
    if (state == "S2") return {Event::TextIntoOne};
    if (state == "S3") return {Event::TextIntoTwo};
    if (state == "S4") return {Event::TextIntoOne, Event::TextIntoTwo};
    if (state == "S5") return {Event::TextIntoOne, Event::TextIntoTwo, Event::EmptyTwo};
    if (state == "S6") return {Event::TextIntoOne, Event::TextIntoTwo, Event::EmptyOne};
    return {};
  };
  const Transition transitions[] = {
      {"S1", Event::TextIntoOne, "S2"}, {"S1", Event::TextIntoTwo, "S3"}, {"S2", Event::TextIntoTwo, "S4"},
      {"S2", Event::EmptyOne, "S1"},    {"S2", Event::Clear1, "S1"},      {"S3", Event::TextIntoOne, "S4"},
      {"S3", Event::EmptyTwo, "S1"},    {"S3", Event::Clear2, "S1"},      {"S4", Event::EmptyOne, "S6"},
      {"S4", Event::EmptyTwo, "S5"},    {"S4", Event::Clear1, "S3"},      {"S4", Event::Clear2, "S2"},
      {"S4", Event::ClearAll, "S1"},    {"S5", Event::TextIntoTwo, "S4"}, {"S5", Event::EmptyOne, "S1"},
      {"S5", Event::Clear1, "S1"},      {"S5", Event::Clear2, "S2"},      {"S5", Event::ClearAll, "S1"},
      {"S6", Event::TextIntoOne, "S4"}, {"S6", Event::EmptyTwo, "S1"},    {"S6", Event::Clear1, "S3"},
      {"S6", Event::Clear2, "S1"},      {"S6", Event::ClearAll, "S1"},
  };
  const auto apply = [this](Event e) {
    switch (e) {
      case Event::TextIntoOne: return Type(C::txtResp1, u" ");  // a blank is text
      case Event::TextIntoTwo: return Type(C::txtBase2, u"7");
      case Event::EmptyOne: return EmptyByHand(C::txtBase1), EmptyByHand(C::txtResp1);
      case Event::EmptyTwo: return EmptyByHand(C::txtBase2), EmptyByHand(C::txtResp2);
      case Event::Clear1: return form.cmdClear1_Click();
      case Event::Clear2: return form.cmdClear2_Click();
      case Event::ClearAll: return form.cmdClearAll_Click();
    }
  };
  for (const auto& t : transitions) {
    form.cmdClearAll_Click();
    for (Event e : reach(t.from)) apply(e);
    ASSERT_EQ(Enabled(), flags(t.from)) << t.from;
    apply(t.event);
    EXPECT_EQ(Enabled(), flags(t.to)) << t.from << " event " << static_cast<int>(t.event);
    EXPECT_EQ(Visible().substr(0, 5), "00000") << "a value label shown without four inputs";
  }
}

TEST_F(FormHandlersTest, ClearsHideTheResultAreaAndKeepTheCaptions) {
  const std::vector<void (FormHandlers::*)()> clears{&FormHandlers::cmdClear1_Click, &FormHandlers::cmdClear2_Click,
                                                     &FormHandlers::cmdClearAll_Click};
  for (auto clear : clears) {
    form.cmdClearAll_Click();
    Enter(u"200", u"50", u"300", u"120");
    hideLabelRuns = 0;
    (form.*clear)();
    EXPECT_EQ(Visible(), "0000000");
    EXPECT_EQ(Shown(C::lblPer1b), "25.00%");
    EXPECT_EQ(hideLabelRuns, 0);
  }
}

TEST_F(FormHandlersTest, ALevelClickWithABoxEmptyOnlyAsks) {
  Enter(u"200", u"50", u"300", u"120");
  Backspace(C::txtResp2);
  Backspace(C::txtResp2);
  Backspace(C::txtResp2);
  const std::string enabled = Enabled(), visible = Visible(), verdict = Shown(C::txtSigDiff);
  model.tracing = true;
  model.Select(C::opt99);
  form.opt99_Click();
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Please insert all numbers first"});
  EXPECT_EQ(Enabled(), enabled);
  EXPECT_EQ(Visible(), visible);
  EXPECT_EQ(Shown(C::txtSigDiff), verdict);
  EXPECT_TRUE(model.StateOf(C::opt99).selected);
  for (const auto& entry : model.trace) EXPECT_EQ(entry.rfind("Text ", 0), 0u) << entry;  // reads only
}

TEST_F(FormHandlersTest, ALevelClickWithAllFilledRecalculatesWithoutEmptyBoxes) {
  Enter(u"100", u"10", u"100", u"20");
  model.Select(C::opt80);
  form.opt80_Click();
  EXPECT_EQ(Shown(C::txtSigDiff), "  SIGNIFICANTLY DIFFERENT  ");
  model.tracing = true;
  hideLabelRuns = 0;
  model.Select(C::opt99);
  form.opt99_Click();
  EXPECT_EQ(Shown(C::lblDiffNeedb), "11.77%");
  EXPECT_EQ(Shown(C::txtSigDiff), "  NOT significantly different  ");
  EXPECT_EQ(hideLabelRuns, 2);
  EXPECT_TRUE(std::none_of(model.trace.begin(), model.trace.end(),
                           [](const std::string& e) { return e.rfind("SetEnabled", 0) == 0; }));
}

TEST_F(FormHandlersTest, TheWarningKeepsThePreviousResultsAndVerdict) {
  Enter(u"200", u"50", u"300", u"120");
  hideLabelRuns = 0;
  Type(C::txtResp1, u"0");  // 500 of 200
  EXPECT_EQ(Visible(), "1111111");
  EXPECT_EQ(Shown(C::lblPer1b), "25.00%");
  EXPECT_EQ(Shown(C::txtSigDiff), "  SIGNIFICANTLY DIFFERENT  ");
  EXPECT_EQ(hideLabelRuns, 0);
  Backspace(C::txtResp1);
  EXPECT_EQ(Visible(), "1111110");
}

TEST_F(FormHandlersTest, AWarningFromIncompleteShowsEmptyLabelsAndNoVerdict) {
  Enter(u"10", u"20", u"10", u"1");
  EXPECT_EQ(Visible(), "1111101");
  EXPECT_EQ(Shown(C::lblPer1b), "");
}

TEST_F(FormHandlersTest, ARunTimeErrorLeavesTheHandlerWithWhatWasDoneKept) {
  Enter(u"200", u"50", u"300", u"120");
  EmptyByHand(C::txtBase1);
  Type(C::txtBase1, u"0");  // 50 of 0 warns; the verdict went with the emptied box
  EXPECT_EQ(Visible(), "1111101");
  EmptyByHand(C::txtResp1);
  EXPECT_EQ(Visible(), "0000000");
  EXPECT_THROW(Type(C::txtResp1, u"0"), FloatingPointFault);
  EXPECT_EQ(Visible(), "1111100");  // shown by EmptyBoxes, warning hidden by the calculation
  EXPECT_EQ(Shown(C::lblPer1b), "25.00%");
  EXPECT_EQ(Enabled(), "111");
  EXPECT_THROW(Type(C::txtResp1, u"0"), FloatingPointFault);  // typing on works as before
  model.SetText(C::txtBase1, u"10");
  EXPECT_EQ(Shown(C::lblPer1b), "00.00%");
}

TEST_F(FormHandlersTest, ExitEndsTheProgram) {
  Enter(u"1", u"2", u"", u"");
  form.cmdExit_Click();
  EXPECT_EQ(platform.ends, 1);
}

struct MessageCase {
  FaultKind kind;
  FaultStep step;
  const char* mentions;
};

TEST(ErrorMessage, NamesTheProblemAndTheEntries) {
  const MessageCase cases[] = {
      {FaultKind::InvalidOperation, FaultStep::Player1Proportion, "Player 1's base and results are both zero"},
      {FaultKind::DivisionByZero, FaultStep::Player2Proportion, "Player 2's base is zero"},
      {FaultKind::Overflow, FaultStep::Player1Proportion, "Player 1's results are too large"},
      {FaultKind::DivisionByZero, FaultStep::PooledProportion, "bases add up to zero"},
      {FaultKind::InvalidOperation, FaultStep::Root, "difference needed cannot be calculated"},
      {FaultKind::Overflow, FaultStep::DifferenceNeeded, "difference needed cannot be calculated"},
  };
  for (const auto& c : cases) {
    const std::string message = Narrow(ErrorMessage(FloatingPointFault(c.kind, c.step)));
    EXPECT_NE(message.find(c.mentions), std::string::npos) << message;
  }
  EXPECT_NE(Narrow(ErrorMessage(ControlAccessError(C::lblPer1b, "SetCaption"))).find("try again"), std::string::npos);
}

}  // namespace
}  // namespace quillomat
