// Every enabled text reads against what lies behind it, under a light and a dark desktop palette:
// WCAG 2's contrast ratio of at least 4.5 to 1, measured on the rendered window.

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>

#include "widget_text.h"
#include "window_widgets.h"

using quillomat::Control;
using quillomat::ControlName;
using quillomat::FrmStart;
using quillomat::testing::ShownText;
using quillomat::testing::ShowText;
using C = quillomat::Control;

namespace {

// Fusion's own light palette.
QPalette LightPalette() {
  QPalette palette(QColor(0xEF, 0xEF, 0xEF));
  palette.setColor(QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
  palette.setColor(QPalette::Light, Qt::white);
  palette.setColor(QPalette::Midlight, QColor(0xCA, 0xCA, 0xCA));
  palette.setColor(QPalette::Mid, QColor(0xB8, 0xB8, 0xB8));
  palette.setColor(QPalette::Dark, QColor(0x9F, 0x9F, 0x9F));
  palette.setColor(QPalette::Shadow, QColor(0x76, 0x76, 0x76));
  palette.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    palette.setColor(QPalette::Disabled, role, QColor(0xBE, 0xBE, 0xBE));
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xEF, 0xEF, 0xEF));
  return palette;
}

// The dark palette commonly given to Fusion.
QPalette DarkPalette() {
  const QColor grey(0x35, 0x35, 0x35);
  QPalette palette(grey);
  palette.setColor(QPalette::WindowText, Qt::white);
  palette.setColor(QPalette::ButtonText, Qt::white);
  palette.setColor(QPalette::Text, Qt::white);
  palette.setColor(QPalette::BrightText, Qt::red);
  palette.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
  palette.setColor(QPalette::AlternateBase, grey);
  palette.setColor(QPalette::Light, QColor(0x4A, 0x4A, 0x4A));
  palette.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
  palette.setColor(QPalette::Mid, QColor(0x2A, 0x2A, 0x2A));
  palette.setColor(QPalette::Dark, QColor(0x23, 0x23, 0x23));
  palette.setColor(QPalette::Shadow, QColor(0x14, 0x14, 0x14));
  palette.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
  palette.setColor(QPalette::HighlightedText, Qt::black);
  palette.setColor(QPalette::Link, QColor(0x2A, 0x82, 0xDA));
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    palette.setColor(QPalette::Disabled, role, QColor(0x7F, 0x7F, 0x7F));
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, grey);
  return palette;
}

struct Theme {
  const char* name;
  QPalette (*palette)();
};

void PrintTo(const Theme& theme, std::ostream* out) { *out << theme.name; }

// WCAG 2's relative luminance of an sRGB colour.
double Luminance(QColor colour) {
  const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double ContrastRatio(QColor a, QColor b) {
  const auto [darker, lighter] = std::minmax({Luminance(a), Luminance(b)});
  return (lighter + 0.05) / (darker + 0.05);
}

struct Ink {
  double contrast = 0;  // 0: no text drawn
  QColor text, background;
};

// Of the pixels the text changes, the one standing out most from what the window shows there without the text:
// anti-aliased edges are paler, the strokes' cores carry the text's full colour.
Ink StrongestInk(const QImage& shown, const QImage& blank, QRect device) {
  Ink strongest;
  for (int y = device.top(); y <= device.bottom(); ++y) {
    for (int x = device.left(); x <= device.right(); ++x) {
      const QColor text = shown.pixelColor(x, y);
      const QColor background = blank.pixelColor(x, y);
      if (text == background) continue;
      const double contrast = ContrastRatio(text, background);
      if (contrast > strongest.contrast) strongest = {contrast, text, background};
    }
  }
  return strongest;
}

std::string Describe(const Ink& ink) {
  return ink.text.name().toStdString() + " on " + ink.background.name().toStdString() + ", " +
         std::to_string(ink.contrast);
}

// Every control that shows enabled text, and for the boxes what is typed into them.
const Control kCaptioned[] = {C::lblTitle, C::Label2,     C::Label3,      C::Label4,    C::Label1,    C::lblSigLevel,
                              C::lblBase1, C::lblResp1,   C::lblBase2,    C::lblResp2,  C::lblPer1,   C::lblPer2,
                              C::lblWAvg,  C::lblActDiff, C::lblDiffNeed, C::cmdClear1, C::cmdClear2, C::cmdClearAll,
                              C::cmdExit,  C::opt80,      C::opt90,       C::opt95,     C::opt99};
const Control kValues[] = {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb};
const std::pair<Control, const char*> kTyped[] = {
    {C::txtBase1, "200"}, {C::txtResp1, "50"}, {C::txtBase2, "300"}, {C::txtResp2, "120"}};

// A palette, and whether the window is the active one: each colour group draws its own text. A window is
// drawn in its inactive colours only while it is shown and another one is active.
using Setting = std::tuple<Theme, bool>;

class WindowContrastTest : public testing::TestWithParam<Setting> {
 protected:
  void SetUp() override {
    originalPalette_ = QApplication::palette();
    QApplication::setPalette(std::get<Theme>(GetParam()).palette());
    window_ = std::make_unique<FrmStart>();
    ASSERT_NO_FATAL_FAILURE(Show(std::get<bool>(GetParam())));
  }
  void TearDown() override {
    window_.reset();
    QApplication::setPalette(originalPalette_);
  }

  void Show(bool active) {
    window_->show();
    QWidget* activated = active ? window_.get() : &otherWindow_;
    activated->show();
    activated->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(activated));
    ASSERT_EQ(window_->isActiveWindow(), active);
    // A blinking cursor would be drawn in some grabs and not in others.
    if (QWidget* focused = window_->focusWidget()) focused->clearFocus();
  }

  void FillIn(const QString& value) {
    for (Control label : kValues) window_->Label(label)->setText(value);
    for (const auto& [box, digits] : kTyped) {
      window_->TextBox(box)->clear();
      QTest::keyClicks(window_->TextBox(box), digits);
    }
  }

  // Every control with text as it is now, and the same window with those texts taken away.
  std::pair<QImage, QImage> GrabShownAndBlank() {
    std::map<QWidget*, QString> texts;
    for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      texts[child] = ShownText(child);
    }
    const QImage shown = Grab();
    for (const auto& [widget, text] : texts) ShowText(widget, QString());
    const QImage blank = Grab();
    for (const auto& [widget, text] : texts) ShowText(widget, text);
    return {shown, blank};
  }

  QImage Grab() const { return window_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QRect DeviceRect(Control control, const QImage& image) const {
    const QRect logical = window_->Widget(control)->geometry();
    const int ratio = qRound(image.devicePixelRatio());
    return {logical.topLeft() * ratio, logical.size() * ratio};
  }

  void ExpectReadable(Control control, const QImage& shown, const QImage& blank) const {
    const Ink ink = StrongestInk(shown, blank, DeviceRect(control, shown));
    EXPECT_GE(ink.contrast, 4.5) << ControlName(control) << " \"" << ShownText(window_->Widget(control)).toStdString()
                                 << "\": " << Describe(ink);
  }

  QPalette originalPalette_;
  std::unique_ptr<FrmStart> window_;
  QWidget otherWindow_;
};

TEST_P(WindowContrastTest, EveryEnabledTextStandsOutFromItsBackground) {
  for (const QString& value : {QStringLiteral("25.00%"), QStringLiteral("100.00%")}) {
    SCOPED_TRACE(value.toStdString());
    FillIn(value);
    const auto [shown, blank] = GrabShownAndBlank();
    for (Control control : kCaptioned) ExpectReadable(control, shown, blank);
    for (Control control : kValues) ExpectReadable(control, shown, blank);
    for (const auto& [box, digits] : kTyped) ExpectReadable(box, shown, blank);
  }
}

TEST_P(WindowContrastTest, EveryEnabledTextIsMeasured) {
  FillIn(QStringLiteral("25.00%"));
  int measured = 0;
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isEnabled() || child->isHidden() || ShownText(child).isEmpty()) continue;
    const auto listed = [child, this](Control control) { return window_->Widget(control) == child; };
    const bool found = std::ranges::any_of(kCaptioned, listed) || std::ranges::any_of(kValues, listed) ||
                       std::ranges::any_of(kTyped, [&](const auto& typed) { return listed(typed.first); });
    EXPECT_TRUE(found) << child->objectName().toStdString();
    ++measured;
  }
  EXPECT_EQ(measured, static_cast<int>(std::size(kCaptioned) + std::size(kValues) + std::size(kTyped)));
}

std::string SettingName(const testing::TestParamInfo<Setting>& setting) {
  const auto& [theme, active] = setting.param;
  return std::string(theme.name) + (active ? "Active" : "Inactive");
}

INSTANTIATE_TEST_SUITE_P(Palettes, WindowContrastTest,
                         testing::Combine(testing::Values(Theme{"Light", LightPalette}, Theme{"Dark", DarkPalette}),
                                          testing::Bool()),
                         SettingName);

}  // namespace
