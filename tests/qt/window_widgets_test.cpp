#include "window_widgets.h"
#include "widget_text.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>
#include <vector>

using quillomat::Control;
using quillomat::ControlName;
using quillomat::FrmStart;
using quillomat::testing::ShownText;

namespace {

// The window as designed, in pixels, written independently of the window table.
struct Expected {
  Control control;
  const char* name;
  const char* className;
  QRect rect;
  const char* text;
  int fontPixels;  // 0: the control shows no text
  bool bold;
  Qt::Alignment align;  // horizontal; 0 for kinds that align nothing
  int tab;              // -1: none
  bool enabled;
  bool visible;
};

constexpr Qt::Alignment L = Qt::AlignLeft;
constexpr Qt::Alignment C = Qt::AlignHCenter;
constexpr Qt::Alignment R = Qt::AlignRight;
constexpr Qt::Alignment N{};

// clang-format off
const Expected kExpected[] = {
  {Control::txtSigDiff,   "txtSigDiff",   "QLineEdit",             {192, 272, 305, 25}, "",                                   16, true,  C, 29, false, false},
  {Control::txtWarnSign,  "txtWarnSign",  "QLineEdit",             {144, 240, 257, 25}, "Base has to be higher than Results", 13, true,  C, 28, false, false},
  {Control::opt95,        "opt95",        "QRadioButton",          {40, 352, 49, 25},   "95%",                                13, false, N, 26, true,  true},
  {Control::opt90,        "opt90",        "QRadioButton",          {88, 320, 49, 25},   "90%",                                13, false, N, 25, true,  true},
  {Control::opt99,        "opt99",        "QRadioButton",          {88, 352, 49, 25},   "99%",                                13, false, N, 24, true,  true},
  {Control::opt80,        "opt80",        "QRadioButton",          {40, 320, 49, 25},   "80%",                                13, false, N, 23, true,  true},
  {Control::cmdClearAll,  "cmdClearAll",  "QPushButton",           {544, 80, 65, 25},   "Clear &All",                         11, false, N, 12, true,  true},
  {Control::cmdClear2,    "cmdClear2",    "QPushButton",           {336, 80, 65, 25},   "Clear &Two",                         11, false, N, 11, true,  true},
  {Control::cmdClear1,    "cmdClear1",    "QPushButton",           {144, 80, 65, 25},   "Clear &One",                         11, false, N, 10, true,  true},
  {Control::cmdExit,      "cmdExit",      "QPushButton",           {544, 272, 65, 25},  "E&xit",                              11, false, N, 9,  true,  true},
  {Control::txtResp2,     "txtResp2",     "QLineEdit",             {344, 160, 49, 25},  "",                                   13, false, R, 8,  true,  true},
  {Control::txtBase2,     "txtBase2",     "QLineEdit",             {344, 120, 49, 25},  "",                                   13, false, R, 5,  true,  true},
  {Control::txtResp1,     "txtResp1",     "QLineEdit",             {152, 160, 49, 25},  "",                                   13, false, R, 4,  true,  true},
  {Control::txtBase1,     "txtBase1",     "QLineEdit",             {152, 120, 49, 25},  "",                                   13, false, R, 2,  true,  true},
  {Control::Label4,       "Label4",       "QLabel",                {432, 88, 105, 17},  "CALCULATIONS",                       11, true,  L, 33, true,  true},
  {Control::Label1,       "Label1",       "QLabel",                {40, 272, 97, 17},   "CHOOSE",                             11, true,  C, 32, true,  true},
  {Control::Image1,       "Image1",       "quillomat::PictureBox", {176, 312, 422, 71}, "",                                   0,  false, N, -1, true,  true},
  {Control::Label3,       "Label3",       "QLabel",                {240, 88, 81, 17},   "PLAYER 2",                           11, true,  L, 31, true,  true},
  {Control::Label2,       "Label2",       "QLabel",                {24, 88, 105, 17},   "PLAYER 1",                           11, true,  L, 30, true,  true},
  {Control::lblSigLevel,  "lblSigLevel",  "QLabel",                {40, 288, 97, 25},   "Significance Level",                 11, false, C, 27, true,  true},
  {Control::Line1,        "Line1",        "quillomat::LineShape",  {0, 64, 641, 1},     "",                                   0,  false, N, -1, true,  true},
  {Control::lblWAvg,      "lblWAvg",      "QLabel",                {432, 208, 105, 17}, "Weighted Average",                   11, false, L, 22, true,  true},
  {Control::lblWAvgb,     "lblWAvgb",     "QLabel",                {560, 208, 49, 17},  "",                                   13, false, L, 21, true,  true},
  {Control::lblActDiffb,  "lblActDiffb",  "QLabel",                {560, 128, 49, 17},  "",                                   13, false, L, 20, true,  true},
  {Control::lblActDiff,   "lblActDiff",   "QLabel",                {432, 128, 105, 17}, "Difference",                         11, false, L, 19, true,  true},
  {Control::lblDiffNeedb, "lblDiffNeedb", "QLabel",                {560, 168, 49, 17},  "",                                   13, false, L, 18, true,  true},
  {Control::lblDiffNeed,  "lblDiffNeed",  "QLabel",                {432, 168, 105, 17}, "Difference Needed",                  11, false, L, 17, true,  true},
  {Control::lblPer2b,     "lblPer2b",     "QLabel",                {344, 208, 49, 17},  "",                                   13, false, R, 16, true,  true},
  {Control::lblPer2,      "lblPer2",      "QLabel",                {240, 208, 89, 17},  "Player Two %",                       13, false, L, 15, true,  true},
  {Control::lblPer1,      "lblPer1",      "QLabel",                {24, 208, 113, 17},  "Player One %",                       13, false, L, 14, true,  true},
  {Control::lblPer1b,     "lblPer1b",     "QLabel",                {152, 208, 49, 17},  "",                                   13, false, R, 13, true,  true},
  {Control::lblResp2,     "lblResp2",     "QLabel",                {240, 168, 89, 17},  "Results",                            13, false, L, 7,  true,  true},
  {Control::lblBase2,     "lblBase2",     "QLabel",                {240, 128, 89, 17},  "Base",                               13, false, L, 6,  true,  true},
  {Control::lblResp1,     "lblResp1",     "QLabel",                {24, 168, 113, 17},  "Results (I.e. H, ER)",               13, false, L, 3,  true,  true},
  {Control::lblTitle,     "lblTitle",     "QLabel",                {72, 8, 497, 49},    "Significance Testing Using T-Test",  32, false, C, 1,  true,  true},
  {Control::lblBase1,     "lblBase1",     "QLabel",                {24, 128, 113, 17},  "Base (I.e. AB, IP)",                 13, false, L, 0,  true,  true},
};
// clang-format on

Qt::Alignment HorizontalAlignmentOf(const QWidget* widget) {
  if (auto* box = qobject_cast<const QLineEdit*>(widget)) {
    return box->alignment() & Qt::AlignHorizontal_Mask;
  }
  if (auto* label = qobject_cast<const QLabel*>(widget)) {
    return label->alignment() & Qt::AlignHorizontal_Mask;
  }
  return {};
}

QString AccessibleText(QWidget* widget, QAccessible::Text kind) {
  return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

class FrmStartTest : public testing::Test {
 protected:
  void ShowAndActivate() {
    window_.show();
    window_.activateWindow();  // a display without a window manager activates nothing itself
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  FrmStart window_;
};

TEST_F(FrmStartTest, EveryControlIsBuiltAsDesigned) {
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(ControlName(e.control).data());
    const QWidget* widget = window_.Widget(e.control);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &window_);
    EXPECT_STREQ(widget->metaObject()->className(), e.className);
    EXPECT_EQ(widget->objectName(), e.name);
    EXPECT_EQ(window_.findChild<QWidget*>(e.name), widget);
    EXPECT_EQ(widget->geometry(), e.rect);
    EXPECT_EQ(ShownText(widget), QString::fromUtf8(e.text));
    EXPECT_EQ(HorizontalAlignmentOf(widget), e.align);
    if (e.fontPixels != 0) {
      EXPECT_EQ(widget->font().pixelSize(), e.fontPixels);
      EXPECT_EQ(widget->font().bold(), e.bold);
      EXPECT_FALSE(widget->font().italic() || widget->font().underline() || widget->font().strikeOut());
    }
    EXPECT_EQ(widget->isEnabled(), e.enabled);
    EXPECT_EQ(widget->isVisibleTo(&window_), e.visible);
  }
}

TEST_F(FrmStartTest, FocusChainFollowsTheTabIndexes) {
  std::vector<int> tabsInChainOrder;
  for (QWidget* w = window_.nextInFocusChain(); w != &window_; w = w->nextInFocusChain()) {
    const auto row = std::ranges::find_if(kExpected, [w](const Expected& e) { return w->objectName() == e.name; });
    ASSERT_NE(row, std::end(kExpected)) << w->objectName().toStdString();
    if (w->focusPolicy() != Qt::NoFocus) tabsInChainOrder.push_back(row->tab);
  }
  EXPECT_EQ(tabsInChainOrder.size(), 14u);  // four input and two display boxes, four buttons, four levels
  // The chain is a ring: read it from the lowest tab index.
  std::ranges::rotate(tabsInChainOrder, std::ranges::min_element(tabsInChainOrder));
  EXPECT_TRUE(std::ranges::is_sorted(tabsInChainOrder)) << testing::PrintToString(tabsInChainOrder);
}

TEST_F(FrmStartTest, ControlsAreTheWindowsOnlyChildWidgetsWithUniqueNames) {
  const auto children = window_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  EXPECT_EQ(children.size(), static_cast<qsizetype>(quillomat::kControlCount));
  std::set<QString> names;
  for (const QWidget* child : children) names.insert(child->objectName());
  EXPECT_EQ(names.size(), quillomat::kControlCount);
  EXPECT_EQ(window_.objectName(), "frmStart");
}

TEST_F(FrmStartTest, WindowIsFixedAtItsClientSize) {
  EXPECT_EQ(window_.size(), QSize(638, 399));
  EXPECT_EQ(window_.minimumSize(), QSize(638, 399));
  EXPECT_EQ(window_.maximumSize(), QSize(638, 399));
  EXPECT_EQ(window_.windowTitle(), "Created by Brannoch");
  EXPECT_TRUE(window_.autoFillBackground());
  EXPECT_EQ(window_.backgroundRole(), QPalette::Window);
  EXPECT_EQ(window_.font().pixelSize(), 11);
}

TEST_F(FrmStartTest, IconCarriesBothSizes) {
  const QList<QSize> sizes = window_.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

// Each size as drawn, and on a screen of twice the density its drawing at twice the size.
TEST_F(FrmStartTest, IconShowsItsDrawingsPixelForPixel) {
  std::vector<qreal> ratios{1};
  if (qApp->devicePixelRatio() >= 2) ratios.push_back(2);
  for (const int size : {16, 32}) {
    for (const qreal ratio : ratios) {
      SCOPED_TRACE(std::to_string(size) + " at " + std::to_string(ratio));
      const QString file = ratio == 1 ? QStringLiteral(":/quillomat/icon-%1.png").arg(size)
                                      : QStringLiteral(":/quillomat/icon-%1@2x.png").arg(size);
      // A pixmap holds premultiplied alpha.
      const QImage drawing = QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
      ASSERT_EQ(drawing.size(), QSize(size, size) * ratio);
      const QImage shown = window_.windowIcon().pixmap(QSize(size, size), ratio).toImage();
      EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), drawing);
    }
  }
}

TEST_F(FrmStartTest, WindowOpensCentredOnTheScreen) {
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  const QPoint offset = window_.frameGeometry().center() - window_.screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST_F(FrmStartTest, InputBoxesAreLongRightAlignedSingleLines) {
  for (Control box : {Control::txtBase1, Control::txtResp1, Control::txtBase2, Control::txtResp2}) {
    SCOPED_TRACE(ControlName(box).data());
    EXPECT_EQ(window_.TextBox(box)->maxLength(), std::numeric_limits<int>::max());
    EXPECT_EQ(window_.TextBox(box)->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
  }
  window_.TextBox(Control::txtBase1)->setText(QString(40000, u'7'));
  EXPECT_EQ(window_.TextBox(Control::txtBase1)->text().size(), 40000);
}

TEST_F(FrmStartTest, FocusStartsInFirstBaseAndTabFollowsReadingOrder) {
  ASSERT_NO_FATAL_FAILURE(ShowAndActivate());
  EXPECT_EQ(QApplication::focusWidget(), window_.Widget(Control::txtBase1));
  for (Control next : {Control::txtResp1, Control::txtBase2, Control::txtResp2}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_.Widget(next)) << ControlName(next);
  }
}

TEST_F(FrmStartTest, TabVisitsFocusableControlsByTabIndex) {
  // The level group is one stop, entered at its selected button; the display boxes are disabled.
  const Control expected[] = {Control::txtResp1,    Control::txtBase2,  Control::txtResp2,
                              Control::cmdExit,     Control::cmdClear1, Control::cmdClear2,
                              Control::cmdClearAll, Control::opt95,     Control::txtBase1};
  ASSERT_NO_FATAL_FAILURE(ShowAndActivate());
  for (Control next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_.Widget(next)) << ControlName(next);
  }
  for (auto it = std::rbegin(expected) + 1; it != std::rend(expected); ++it) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window_.Widget(*it)) << ControlName(*it);
  }
}

TEST_F(FrmStartTest, TabEntersTheLevelGroupAtTheSelectedLevel) {
  ASSERT_NO_FATAL_FAILURE(ShowAndActivate());
  for (Control level : {Control::opt80, Control::opt99, Control::opt95}) {
    QTest::mouseClick(window_.Option(level), Qt::LeftButton);
    window_.Button(Control::cmdClearAll)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_.Widget(level)) << ControlName(level);
  }
}

TEST_F(FrmStartTest, ExactlyOneLevelIsSelectedWhateverIsClicked) {
  QButtonGroup* group = window_.LevelGroup();
  ASSERT_EQ(group->buttons().size(), 4);
  EXPECT_TRUE(group->exclusive());
  EXPECT_EQ(group->checkedButton(), window_.Option(Control::opt95));
  ASSERT_NO_FATAL_FAILURE(ShowAndActivate());
  for (Control clicked :
       {Control::opt80, Control::opt80, Control::opt99, Control::opt90, Control::opt95, Control::opt95}) {
    QTest::mouseClick(window_.Option(clicked), Qt::LeftButton);
    SCOPED_TRACE(ControlName(clicked).data());
    EXPECT_EQ(group->checkedButton(), window_.Option(clicked));
    EXPECT_EQ(group->checkedId(), static_cast<int>(quillomat::Index(clicked)));
    const auto checked =
        std::ranges::count_if(group->buttons(), [](const QAbstractButton* b) { return b->isChecked(); });
    EXPECT_EQ(checked, 1);
  }
}

TEST_F(FrmStartTest, AltKeysClickTheirButtons) {
  struct Case {
    Control button;
    Qt::Key key;
  };
  const Case cases[] = {{Control::cmdClear1, Qt::Key_O},
                        {Control::cmdClear2, Qt::Key_T},
                        {Control::cmdClearAll, Qt::Key_A},
                        {Control::cmdExit, Qt::Key_X}};
  ASSERT_NO_FATAL_FAILURE(ShowAndActivate());
  for (const Case& c : cases) {
    SCOPED_TRACE(ControlName(c.button).data());
    QPushButton* button = window_.Button(c.button);
    EXPECT_EQ(button->shortcut(), QKeySequence(Qt::ALT | c.key));
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), c.key, Qt::AltModifier);
    EXPECT_TRUE(clicks.count() == 1 || clicks.wait(1000));
  }
}

TEST_F(FrmStartTest, EnterAndEscapeBelongToNoButton) {
  for (QPushButton* button : window_.findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
    EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
  }
}

TEST_F(FrmStartTest, InputBoxesAreNamedPerGroupAndTiedToTheirCaptions) {
  struct Case {
    Control box;
    Control caption;
    const char* name;
  };
  const Case cases[] = {{Control::txtBase1, Control::lblBase1, "Player 1 base"},
                        {Control::txtResp1, Control::lblResp1, "Player 1 results"},
                        {Control::txtBase2, Control::lblBase2, "Player 2 base"},
                        {Control::txtResp2, Control::lblResp2, "Player 2 results"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget* box = window_.Widget(c.box);
    EXPECT_EQ(AccessibleText(box, QAccessible::Name), c.name);
    EXPECT_EQ(window_.Label(c.caption)->buddy(), box);
  }
}

TEST_F(FrmStartTest, ValueLabelsSpeakTheirValueAndSayWhatItIs) {
  struct Case {
    Control value;
    Control caption;
    const char* description;
  };
  const Case cases[] = {{Control::lblPer1b, Control::lblPer1, "Player 1 percentage"},
                        {Control::lblPer2b, Control::lblPer2, "Player 2 percentage"},
                        {Control::lblWAvgb, Control::lblWAvg, "Weighted average"},
                        {Control::lblActDiffb, Control::lblActDiff, "Difference"},
                        {Control::lblDiffNeedb, Control::lblDiffNeed, "Difference needed"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    QLabel* value = window_.Label(c.value);
    value->setText(QStringLiteral("25.00%"));
    EXPECT_EQ(AccessibleText(value, QAccessible::Name), "25.00%");
    EXPECT_EQ(AccessibleText(value, QAccessible::Description), c.description);
    const auto labels = QAccessible::queryAccessibleInterface(value)->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), window_.Widget(c.caption));
  }
}

// Room a control leaves for its text, as its style lays it out.
QSize TextRoom(const QWidget* widget) {
  const QStyle* style = widget->style();
  if (qobject_cast<const QLineEdit*>(widget)) {
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
    constexpr int kLineEditMargin = 2;  // QLineEdit's fixed inner margin on each side
    return widget->size() - QSize(2 * (frame + kLineEditMargin), 2 * frame);
  }
  if (qobject_cast<const QPushButton*>(widget)) {
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
    return widget->size() - QSize(margin + 2 * frame, 2 * frame);
  }
  if (qobject_cast<const QRadioButton*>(widget)) {
    const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget);
    const int spacing = style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
    return widget->size() - QSize(indicator + spacing, 0);
  }
  return widget->contentsRect().size();
}

std::vector<QString> TextsShownIn(Control control, const QString& ownText) {
  switch (control) {
    case Control::txtSigDiff:
      return {QStringLiteral("  SIGNIFICANTLY DIFFERENT  "), QStringLiteral("  NOT significantly different  ")};
    case Control::lblPer1b:
    case Control::lblPer2b:
    case Control::lblWAvgb:
    case Control::lblActDiffb:
    case Control::lblDiffNeedb: return {QStringLiteral("08.48%"), QStringLiteral("100.00%"), QStringLiteral("182.15%")};
    default: return {QString(ownText).remove(u'&')};
  }
}

TEST_F(FrmStartTest, EveryTextFitsItsBox) {
  for (const Expected& e : kExpected) {
    const QWidget* widget = window_.Widget(e.control);
    const QFontMetrics metrics(widget->font());
    const QSize room = TextRoom(widget);
    for (const QString& text : TextsShownIn(e.control, ShownText(widget))) {
      if (text.isEmpty()) continue;
      SCOPED_TRACE(ControlName(e.control).data() + (" \"" + text.toStdString() + "\""));
      EXPECT_LE(metrics.horizontalAdvance(text), room.width());
      EXPECT_LE(metrics.boundingRect(text).width(), room.width());
      EXPECT_LE(metrics.height(), room.height());
    }
  }
}

// The boxes that start hidden, once shown, place and draw their text as a line edit that had their
// font from the start: where the text ends before anything is painted, and the pixels.
TEST_F(FrmStartTest, HiddenBoxesShowTheirTextInTheirOwnFont) {
  ShowAndActivate();
  for (Control c : {Control::txtSigDiff, Control::txtWarnSign}) {
    SCOPED_TRACE(ControlName(c).data());
    QLineEdit* box = window_.TextBox(c);
    ASSERT_TRUE(box->isHidden());
    if (c == Control::txtSigDiff) box->setText(QStringLiteral("  SIGNIFICANTLY DIFFERENT  "));
    box->show();

    QLineEdit reference(box->text());
    reference.setFont(box->font());
    reference.setAlignment(box->alignment());
    reference.setPalette(box->palette());
    reference.setBackgroundRole(box->backgroundRole());
    reference.setForegroundRole(box->foregroundRole());
    reference.setEnabled(box->isEnabled());
    reference.resize(box->size());
    EXPECT_EQ(box->inputMethodQuery(Qt::ImCursorRectangle).toRect(),
              reference.inputMethodQuery(Qt::ImCursorRectangle).toRect());
    EXPECT_EQ(box->grab().toImage().convertToFormat(QImage::Format_RGB32),
              reference.grab().toImage().convertToFormat(QImage::Format_RGB32));
  }
}

TEST_F(FrmStartTest, BodyTextUsesAPlainSansSerifFace) {
  const QFontInfo info(window_.Widget(Control::lblBase1)->font());
  EXPECT_TRUE(info.family() == "Liberation Sans" || info.family() == "Arial" || info.family() == "MS Sans Serif" ||
              info.family() == "DejaVu Sans")
      << info.family().toStdString();
  EXPECT_EQ(info.pixelSize(), 13);
  EXPECT_FALSE(info.italic());
}

}  // namespace
