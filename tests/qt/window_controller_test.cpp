// The working window driven as a user drives it: real key and mouse events on the real widgets.
#include "window_controller.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using quillomat::Control;
using quillomat::FrmStart;
using C = quillomat::Control;

namespace {

// Stands between the handlers and the window's controls and counts the runs of the results'
// re-format: it is the change handler of the difference-needed label, and runs once for each
// change event that label raises, that is for each write of a different caption.
class ReformatCounter : public quillomat::FormControls {
 public:
  ReformatCounter(FormControls& controls, int& runs) : controls_(controls), runs_(runs) {}

  std::u16string Text(Control textBox) const override { return controls_.Text(textBox); }
  void SetText(Control textBox, std::u16string_view text) override { controls_.SetText(textBox, text); }
  std::u16string Caption(Control label) const override { return controls_.Caption(label); }
  void SetCaption(Control label, std::u16string_view caption) override {
    if (label == C::lblDiffNeedb && controls_.Caption(label) != caption) ++runs_;
    controls_.SetCaption(label, caption);
  }
  bool Value(Control optionButton) const override { return controls_.Value(optionButton); }
  void SetVisible(Control control, bool visible) override { controls_.SetVisible(control, visible); }
  void SetEnabled(Control control, bool enabled) override { controls_.SetEnabled(control, enabled); }

 private:
  FormControls& controls_;
  int& runs_;
};

struct SeenMessage {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
};

class StartWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  FrmStart& window() { return app.Window(); }
  QLineEdit* box(C c) { return window().TextBox(c); }
  QLabel* label(C c) { return window().Label(c); }

  void Type(C c, const QString& keys) { QTest::keyClicks(box(c), keys); }
  void Backspace(C c) {
    box(c)->end(false);
    QTest::keyClick(box(c), Qt::Key_Backspace);
  }
  void SelectAllAndDelete(C c) {
    QTest::keyClick(box(c), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box(c), Qt::Key_Delete);
  }
  void Click(C c) { QTest::mouseClick(window().Widget(c), Qt::LeftButton); }
  // An access key clicks its button after a short press animation.
  void AltKey(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    QTest::qWait(250);
  }
  void Enter(const QString& b1, const QString& r1, const QString& b2, const QString& r2) {
    Type(C::txtBase1, b1);
    Type(C::txtResp1, r1);
    Type(C::txtBase2, b2);
    Type(C::txtResp2, r2);
  }

  // Runs `action`, answering with OK the modal message boxes it opens, and returns them.
  std::vector<SeenMessage> Answering(const std::function<void()>& action) {
    std::vector<SeenMessage> seen;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen.push_back({box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())});
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    answerer.start(5);
    action();
    return seen;
  }

  std::string Enabled() {
    std::string flags;
    for (C b : {C::cmdClear1, C::cmdClear2, C::cmdClearAll}) flags += window().Widget(b)->isEnabled() ? '1' : '0';
    return flags;
  }
  std::string Visible() {
    std::string flags;
    for (C c : {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb, C::txtSigDiff, C::txtWarnSign})
      flags += window().Widget(c)->isVisible() ? '1' : '0';
    return flags;
  }
  std::vector<QString> Results() {
    return {label(C::lblPer1b)->text(),    label(C::lblPer2b)->text(),     label(C::lblWAvgb)->text(),
            label(C::lblActDiffb)->text(), label(C::lblDiffNeedb)->text(), box(C::txtSigDiff)->text()};
  }

  int hideLabelRuns = 0;
  quillomat::WindowController app{
      [this](quillomat::FormControls& widgets) { return std::make_unique<ReformatCounter>(widgets, hideLabelRuns); }};
};

const QString kYes = QStringLiteral("  SIGNIFICANTLY DIFFERENT  ");
const QString kNo = QStringLiteral("  NOT significantly different  ");

TEST_F(StartWindowTest, OpensEmptyWithTheClearButtonsDisabled) {
  EXPECT_EQ(Enabled(), "000");
  EXPECT_EQ(Visible(), "1111100");
  EXPECT_TRUE(window().Option(C::opt95)->isChecked());
  EXPECT_EQ(QApplication::focusWidget(), box(C::txtBase1));
}

TEST_F(StartWindowTest, TypicalRunKeystrokeByKeystroke) {
  struct Step {
    C box;
    const char* key;
    const char* enabled;
    const char* visible;
  };
  const Step steps[] = {
      {C::txtBase1, "2", "100", "0000000"}, {C::txtBase1, "0", "100", "0000000"}, {C::txtBase1, "0", "100", "0000000"},
      {C::txtResp1, "5", "100", "0000000"}, {C::txtResp1, "0", "100", "0000000"}, {C::txtBase2, "3", "111", "0000000"},
      {C::txtBase2, "0", "111", "0000000"}, {C::txtBase2, "0", "111", "0000000"}, {C::txtResp2, "1", "111", "1111110"},
      {C::txtResp2, "2", "111", "1111110"}, {C::txtResp2, "0", "111", "1111110"},
  };
  int keystroke = 0;
  for (const auto& s : steps) {
    const int before = hideLabelRuns;
    Type(s.box, QString::fromLatin1(s.key));
    EXPECT_EQ(Enabled(), s.enabled) << "keystroke " << keystroke;
    EXPECT_EQ(Visible(), s.visible) << "keystroke " << keystroke;
    EXPECT_EQ(hideLabelRuns - before, s.visible[0] == '1' ? 2 : 0) << "keystroke " << keystroke;
    ++keystroke;
  }
  EXPECT_EQ(Results(), (std::vector<QString>{"25.00%", "40.00%", "34.00%", "15.00%", "08.48%", kYes}));

  Click(C::opt99);
  EXPECT_TRUE(window().Option(C::opt99)->isChecked());
  EXPECT_EQ(label(C::lblDiffNeedb)->text(), "10.08%");
  Click(C::cmdClear1);
  EXPECT_EQ(Visible(), "0000000");
  EXPECT_EQ(Enabled(), "010");
}

struct Example {
  const char *b1, *r1, *b2, *r2;
  C level;
  const char* needed;
  const QString& verdict;
};

TEST_F(StartWindowTest, WorkedExamplesTypedInAndSwitchedBetweenLevels) {
  const Example examples[] = {
      {"100", "10", "100", "20", C::opt80, "06.46%", kYes}, {"100", "10", "100", "20", C::opt99, "11.77%", kNo},
      {"100", "10", "100", "20", C::opt95, "09.90%", kYes}, {"1000", "523", "1000", "480", C::opt90, "03.67%", kYes},
      {"100", "50", "100", "50", C::opt95, "13.86%", kNo},  {"1", "0", "2", "1", C::opt95, "113.16%", kNo},
      {"3", "0", "3", "3", C::opt95, "80.02%", kYes},
  };
  for (const auto& ex : examples) {
    if (box(C::txtBase1)->text() != ex.b1) {
      Click(C::cmdClearAll);
      Enter(ex.b1, ex.r1, ex.b2, ex.r2);
    }
    Click(ex.level);
    EXPECT_EQ(label(C::lblDiffNeedb)->text(), ex.needed) << ex.b1 << " " << ControlName(ex.level);
    EXPECT_EQ(box(C::txtSigDiff)->text(), ex.verdict) << ex.b1 << " " << ControlName(ex.level);
    EXPECT_EQ(Visible(), "1111110");
  }
}

TEST_F(StartWindowTest, ChoosingALevelWithTheKeyboardRecalculates) {
  Enter("100", "10", "100", "20");
  window().Option(C::opt95)->setFocus();
  QTest::keyClick(window().Option(C::opt95), Qt::Key_Right);
  EXPECT_TRUE(window().Option(C::opt99)->isChecked());
  EXPECT_EQ(label(C::lblDiffNeedb)->text(), "11.77%");
  EXPECT_EQ(box(C::txtSigDiff)->text(), kNo);
}

enum class Action { TypeOne, TypeTwo, EmptyOne, EmptyTwo, Clear1, Clear2, ClearAll };

TEST_F(StartWindowTest, EveryFillStateTransitionWithRealEvents) {
  struct Transition {
    std::vector<Action> path;  // from the empty window to the state the row starts in
    Action action;
    const char* enabled;
  };
  using A = Action;
  const std::vector<A> s2{A::TypeOne}, s3{A::TypeTwo}, s4{A::TypeOne, A::TypeTwo},
      s5{A::TypeOne, A::TypeTwo, A::EmptyTwo}, s6{A::TypeOne, A::TypeTwo, A::EmptyOne};
  const Transition transitions[] = {
      {{}, A::TypeOne, "100"},  {{}, A::TypeTwo, "010"},  {s2, A::TypeTwo, "111"},  {s2, A::EmptyOne, "000"},
      {s2, A::Clear1, "000"},   {s3, A::TypeOne, "111"},  {s3, A::EmptyTwo, "000"}, {s3, A::Clear2, "000"},
      {s4, A::EmptyOne, "111"}, {s4, A::EmptyTwo, "111"}, {s4, A::Clear1, "010"},   {s4, A::Clear2, "100"},
      {s4, A::ClearAll, "000"}, {s5, A::TypeTwo, "111"},  {s5, A::EmptyOne, "000"}, {s5, A::Clear1, "000"},
      {s5, A::Clear2, "100"},   {s5, A::ClearAll, "000"}, {s6, A::TypeOne, "111"},  {s6, A::EmptyTwo, "000"},
      {s6, A::Clear1, "010"},   {s6, A::Clear2, "000"},   {s6, A::ClearAll, "000"},
  };
  const auto act = [this](Action a) {
    switch (a) {
      case A::TypeOne: return Type(C::txtBase1, "4");
      case A::TypeTwo: return Type(C::txtResp2, " ");
      case A::EmptyOne: return SelectAllAndDelete(C::txtBase1), SelectAllAndDelete(C::txtResp1);
      case A::EmptyTwo: return Backspace(C::txtResp2), SelectAllAndDelete(C::txtBase2);
      case A::Clear1: return Click(C::cmdClear1);
      case A::Clear2: return Click(C::cmdClear2);
      case A::ClearAll: return Click(C::cmdClearAll);
    }
  };
  int row = 0;
  for (const auto& t : transitions) {
    for (C b : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2}) SelectAllAndDelete(b);
    for (Action a : t.path) act(a);
    act(t.action);
    EXPECT_EQ(Enabled(), t.enabled) << "row " << row;
    EXPECT_EQ(Visible(), "0000000") << "row " << row;
    ++row;
  }
}

TEST_F(StartWindowTest, TheWarningKeepsThePreviousCaptionsAndVerdict) {
  Enter("200", "50", "300", "120");
  const auto before = Results();
  const int runs = hideLabelRuns;
  Type(C::txtResp2, "0");  // 1200 of 300
  EXPECT_EQ(Visible(), "1111111");
  EXPECT_EQ(Results(), before);
  EXPECT_EQ(hideLabelRuns, runs);
  Backspace(C::txtResp2);
  EXPECT_EQ(Visible(), "1111110");
}

TEST_F(StartWindowTest, ALevelClickWithABoxEmptyAsksAndChangesNothingElse) {
  Enter("200", "50", "300", "");
  const auto results = Results();
  const auto visible = Visible();
  const auto enabled = Enabled();
  const auto seen = Answering([this] { Click(C::opt80); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Please insert all numbers first");
  EXPECT_EQ(seen[0].title, QApplication::applicationDisplayName());
  EXPECT_EQ(seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen[0].buttons, 1);
  EXPECT_TRUE(window().Option(C::opt80)->isChecked());
  EXPECT_EQ(Results(), results);
  EXPECT_EQ(Visible(), visible);
  EXPECT_EQ(Enabled(), enabled);
  Type(C::txtResp2, "120");
  EXPECT_EQ(label(C::lblDiffNeedb)->text(), "05.54%");  // calculated at the level clicked
}

TEST_F(StartWindowTest, AnErrorIsReportedAndTheProgramCarriesOn) {
  Enter("200", "50", "300", "120");
  const auto results = Results();
  SelectAllAndDelete(C::txtBase1);
  SelectAllAndDelete(C::txtResp1);
  Type(C::txtBase1, "0");
  const auto seen = Answering([this] { Type(C::txtResp1, "0"); });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(seen[0].text.contains("Player 1")) << seen[0].text.toStdString();
  EXPECT_EQ(Results(), results);
  EXPECT_TRUE(window().isVisible());
  Backspace(C::txtBase1);
  Type(C::txtBase1, "10");  // 0 of 10
  EXPECT_EQ(label(C::lblPer1b)->text(), "00.00%");
  EXPECT_EQ(Visible(), "1111110");
}

TEST_F(StartWindowTest, AccessKeysClickOnlyEnabledButtons) {
  Enter("200", "50", "", "");
  AltKey(Qt::Key_T);  // Clear Two and Clear All are disabled
  AltKey(Qt::Key_A);
  EXPECT_EQ(box(C::txtBase1)->text(), "200");
  AltKey(Qt::Key_O);
  EXPECT_EQ(box(C::txtBase1)->text(), "");
  EXPECT_EQ(box(C::txtResp1)->text(), "");
  EXPECT_EQ(Enabled(), "000");
}

TEST_F(StartWindowTest, AltXEndsTheProgramFromAnyState) {
  Enter("200", "50", "300", "12000");
  AltKey(Qt::Key_X);
  EXPECT_FALSE(window().isVisible());
}

}  // namespace
