// What the session holds back until a run is over: the handlers see the window exactly as they
// would see it without, while the widgets are read once per change of a box and written only with
// the final caption, visibility and enabled flag of each control.
#include "held_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "form_handlers.h"
#include "form_model.h"
#include "window_session.h"

namespace quillomat {
namespace {

using C = Control;
using testing::FormModel;
using testing::Narrow;

constexpr C kBoxes[] = {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2};
constexpr C kValueLabels[] = {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb};

// Stands between the handlers and what they act on, and notes every access in the words of the
// model's own trace.
class TracingControls : public FormControls {
 public:
  TracingControls(FormControls& controls, std::vector<std::string>& trace) : controls_(controls), trace_(trace) {}

  std::u16string Text(Control c) const override {
    Note("Text", c, {});
    return controls_.Text(c);
  }
  void SetText(Control c, std::u16string_view text) override {
    Note("SetText", c, text);
    controls_.SetText(c, text);
  }
  std::u16string Caption(Control c) const override {
    Note("Caption", c, {});
    return controls_.Caption(c);
  }
  void SetCaption(Control c, std::u16string_view caption) override {
    Note("SetCaption", c, caption);
    controls_.SetCaption(c, caption);
  }
  bool Value(Control c) const override {
    Note("Value", c, {});
    return controls_.Value(c);
  }
  void SetVisible(Control c, bool visible) override {
    Note("SetVisible", c, visible ? u"1" : u"0");
    controls_.SetVisible(c, visible);
  }
  void SetEnabled(Control c, bool enabled) override {
    Note("SetEnabled", c, enabled ? u"1" : u"0");
    controls_.SetEnabled(c, enabled);
  }

 private:
  void Note(const char* property, Control c, std::u16string_view value) const {
    std::string entry = std::string(property) + " " + std::string(ControlName(c));
    if (!value.empty()) entry += " " + Narrow(value);
    trace_.push_back(std::move(entry));
  }

  FormControls& controls_;
  std::vector<std::string>& trace_;
};

class QuietPlatform : public Platform {
 public:
  void MessageBox(std::u16string_view) override { ++messages; }
  void EndProgram() override {}
  int messages = 0;
};

// Notes the window as the widgets show it whenever a box opens.
class WatchingDesktop : public Desktop {
 public:
  explicit WatchingDesktop(const FormModel& widgets) : widgets_(widgets) {}
  void MessageBox(std::u16string_view) override { seen.push_back(Screen()); }
  void EndProgram() override {}
  void ReportError(std::u16string_view message) override {
    errors.push_back(Narrow(message));
    seen.push_back(Screen());
  }

  // Visibility of the value labels, verdict and warning, then the five captions.
  std::string Screen() const {
    std::string screen;
    for (C c : {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb, C::txtSigDiff, C::txtWarnSign})
      screen += widgets_.StateOf(c).visible ? '1' : '0';
    for (C c : kValueLabels) screen += " " + Narrow(widgets_.StateOf(c).text);
    return screen;
  }

  std::vector<std::string> errors, seen;

 private:
  const FormModel& widgets_;
};

// A user's action: a keystroke or paste that leaves `text` in a box, or a click.
struct Action {
  C control;
  std::u16string text;
};

std::vector<Action> Typed(C box, std::u16string_view before, std::u16string_view keys) {
  std::vector<Action> actions;
  std::u16string text(before);
  for (char16_t key : keys) actions.push_back({box, text += key});
  return actions;
}

// The typical run keystroke by keystroke, a level, a warning, an error, corrections, a level
// click with a box empty and the clear buttons: every path through the handlers.
std::vector<Action> Session() {
  std::vector<Action> actions;
  const auto add = [&actions](std::vector<Action> more) { actions.insert(actions.end(), more.begin(), more.end()); };
  add(Typed(C::txtBase1, u"", u"200"));
  add(Typed(C::txtResp1, u"", u"50"));
  add(Typed(C::txtBase2, u"", u"300"));
  add(Typed(C::txtResp2, u"", u"120"));
  add({{C::opt99, {}}, {C::opt80, {}}});
  add(Typed(C::txtResp1, u"50", u"0"));                                   // 500 of 200: the warning
  add({{C::txtResp1, u"50"}, {C::txtBase1, u"0"}, {C::txtResp1, u"0"}});  // 0 of 0: an error
  add({{C::txtBase1, u"10"}, {C::txtResp2, u""}, {C::opt95, {}}, {C::txtResp2, u"7"}});
  add({{C::cmdClear1, {}}, {C::txtBase1, u"4"}, {C::txtResp1, u"4"}, {C::cmdClear2, {}}, {C::cmdClearAll, {}}});
  add(Typed(C::txtBase1, u"", u"1 "));
  return actions;
}

// The handler a click on the control runs.
void (FormHandlers::*ClickHandler(C control))() {
  switch (control) {
    case C::opt80: return &FormHandlers::opt80_Click;
    case C::opt90: return &FormHandlers::opt90_Click;
    case C::opt95: return &FormHandlers::opt95_Click;
    case C::opt99: return &FormHandlers::opt99_Click;
    case C::cmdClear1: return &FormHandlers::cmdClear1_Click;
    case C::cmdClear2: return &FormHandlers::cmdClear2_Click;
    default: return &FormHandlers::cmdClearAll_Click;
  }
}

bool IsBox(C control) { return std::find(std::begin(kBoxes), std::end(kBoxes), control) != std::end(kBoxes); }
bool IsLevel(C control) { return ControlName(control).starts_with("opt"); }

// The handlers on the in-memory window, with nothing between them.
struct DirectWindow {
  DirectWindow() {
    model.StateOf(C::opt95).selected = true;
    model.OnChange(C::txtBase1, [this] { form.txtBase1_Change(); });
    model.OnChange(C::txtResp1, [this] { form.txtResp1_Change(); });
    model.OnChange(C::txtBase2, [this] { form.txtBase2_Change(); });
    model.OnChange(C::txtResp2, [this] { form.txtResp2_Change(); });
    model.OnChange(C::lblDiffNeedb, [this] { form.lblDiffNeedb_Change(); });
    form.Form_Load();
  }
  void Do(const Action& a) {
    try {
      if (IsLevel(a.control)) model.Select(a.control);
      if (IsBox(a.control))
        model.SetText(a.control, a.text);
      else
        (form.*ClickHandler(a.control))();
    } catch (const std::exception&) {
      // Passed out to the platform, which carries on.
    }
  }

  std::vector<std::string> handlerTrace;
  FormModel model;
  TracingControls tracing{model, handlerTrace};
  QuietPlatform platform;
  FormHandlers form{tracing, platform};
};

// The same handlers run by a session, as a shell runs them: the widgets' change events delivered
// to the session, a label's own change report included.
struct SessionWindow {
  SessionWindow() {
    widgets.StateOf(C::opt95).selected = true;
    widgets.OnChange(C::txtBase1, [this] { session.Run(&FormHandlers::txtBase1_Change); });
    widgets.OnChange(C::txtResp1, [this] { session.Run(&FormHandlers::txtResp1_Change); });
    widgets.OnChange(C::txtBase2, [this] { session.Run(&FormHandlers::txtBase2_Change); });
    widgets.OnChange(C::txtResp2, [this] { session.Run(&FormHandlers::txtResp2_Change); });
    widgets.OnChange(C::lblDiffNeedb, [this] { session.CaptionChanged(C::lblDiffNeedb); });
    session.Run(&FormHandlers::Form_Load);
  }
  void Do(const Action& a) {
    if (IsLevel(a.control)) widgets.Select(a.control);
    if (IsBox(a.control))
      widgets.SetText(a.control, a.text);
    else
      session.Run(ClickHandler(a.control));
  }

  std::vector<std::string> handlerTrace;
  FormModel widgets;
  WatchingDesktop desktop{widgets};
  WindowSession session{widgets, desktop,
                        [this](FormControls& held) { return std::make_unique<TracingControls>(held, handlerTrace); }};
};

std::string Screen(const FormModel& model) {
  std::string screen;
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const FormModel::State& s = model.StateOf(static_cast<C>(i));
    screen += std::string(ControlName(static_cast<C>(i))) + "=" + Narrow(s.text) + (s.visible ? " shown" : "") +
              (s.enabled ? " enabled" : "") + (s.selected ? " selected" : "") + "\n";
  }
  return screen;
}

TEST(HeldControlsTest, TheHandlersSeeEveryReadAndWriteAsWithoutThem) {
  DirectWindow direct;
  SessionWindow held;
  ASSERT_EQ(held.handlerTrace, direct.handlerTrace) << "Form_Load";
  int step = 0;
  for (const Action& action : Session()) {
    direct.handlerTrace.clear();
    held.handlerTrace.clear();
    direct.Do(action);
    held.Do(action);
    // The same accesses in the same order, so the re-format chain and every handler ran alike.
    ASSERT_EQ(held.handlerTrace, direct.handlerTrace) << "action " << step << " on " << ControlName(action.control);
    ASSERT_EQ(Screen(held.widgets), Screen(direct.model)) << "action " << step;
    ++step;
  }
  EXPECT_EQ(held.desktop.errors.size(), 1u);  // 0 of 0
}

TEST(HeldControlsTest, ABoxIsReadFromItsWidgetOncePerChange) {
  SessionWindow window;
  window.widgets.tracing = true;
  int verdictReads = 0;
  for (const Action& action : Session()) {
    window.widgets.trace.clear();
    window.Do(action);
    std::map<std::string, int> reads;
    for (const std::string& access : window.widgets.trace)
      if (access.starts_with("Text ")) ++reads[access.substr(5)];
    for (C box : kBoxes) {
      // A box changed by the user is read once; one the program empties, or that did not change, not at all.
      const int allowed = action.control == box ? 1 : 0;
      EXPECT_LE(reads[std::string(ControlName(box))], allowed)
          << ControlName(action.control) << " " << Narrow(action.text);
    }
    verdictReads += reads[std::string(ControlName(C::txtSigDiff))];
  }
  EXPECT_EQ(verdictReads, 1);  // only the program writes the verdict: what it holds is known after one look
}

TEST(HeldControlsTest, EachWidgetGetsOnlyTheFinalChangesOfARun) {
  SessionWindow window;
  window.widgets.tracing = true;
  for (const Action& action : Session()) {
    const FormModel before = window.widgets;
    window.widgets.trace.clear();
    window.Do(action);
    std::map<std::string, int> captionWrites, enabledWrites;
    for (const std::string& access : window.widgets.trace) {
      if (access.starts_with("SetCaption ")) ++captionWrites[access.substr(11, access.find(' ', 11) - 11)];
      if (access.starts_with("SetEnabled ")) ++enabledWrites[access.substr(11, access.find(' ', 11) - 11)];
    }
    for (std::size_t i = 0; i < kControlCount; ++i) {
      const auto c = static_cast<C>(i);
      const std::string name(ControlName(c));
      const bool captionChanged = before.StateOf(c).text != window.widgets.StateOf(c).text;
      const bool enabledChanged = before.StateOf(c).enabled != window.widgets.StateOf(c).enabled;
      if (testing::KindOf(c) == testing::Kind::Label) {
        EXPECT_EQ(captionWrites[name], captionChanged ? 1 : 0) << name << " after " << ControlName(action.control);
      }
      EXPECT_EQ(enabledWrites[name], enabledChanged ? 1 : 0) << name << " after " << ControlName(action.control);
    }
  }
}

TEST(HeldControlsTest, AnErrorBoxShowsTheWindowAsTheHandlersLeftIt) {
  SessionWindow window;
  for (const Action& a : {Action{C::txtBase1, u"0"}, {C::txtResp1, u"5"}, {C::txtBase2, u"300"}, {C::txtResp2, u"120"}})
    window.Do(a);
  ASSERT_EQ(window.desktop.Screen(), "1111101     ");  // warned: 5 of 0, no results yet
  window.Do({C::txtResp1, u"0"});                      // 0 of 0: the warning goes, then the calculation faults
  ASSERT_EQ(window.desktop.errors.size(), 1u);
  EXPECT_EQ(window.desktop.seen.back(), "1111100     ");
  EXPECT_EQ(window.desktop.Screen(), "1111100     ");
}

TEST(HeldControlsTest, AWidgetThatRefusesACaptionKeepsNoneOfTheOthersFromTheirs) {
  SessionWindow window;
  for (const Action& a : Typed(C::txtBase1, u"", u"200")) window.Do(a);
  for (const Action& a : {Action{C::txtResp1, u"50"}, {C::txtBase2, u"300"}, {C::txtResp2, u"12"}}) window.Do(a);
  window.widgets.FailOn(C::lblPer2b, "SetCaption");
  window.Do({C::txtResp2, u"120"});
  ASSERT_EQ(window.desktop.errors.size(), 1u);
  EXPECT_EQ(window.desktop.seen.back(), "1111110 25.00% 04.00% 34.00% 15.00% 08.48%");
  // The refused caption is what the widget still shows, to the handlers too.
  EXPECT_EQ(Narrow(window.session.Controls().Caption(C::lblPer2b)), "04.00%");
  window.Do({C::txtResp2, u"12"});
  window.Do({C::txtResp2, u"120"});
  EXPECT_EQ(window.desktop.Screen(), "1111110 25.00% 40.00% 34.00% 15.00% 08.48%");
}

}  // namespace
}  // namespace quillomat
