// No text is cut off by the edges of its control, at whatever scale the test runs: the ink of each
// text as drawn in place spans exactly what it spans when the same widget is drawn much larger.

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widget_text.h"
#include "window_widgets.h"

using quillomat::Control;
using quillomat::ControlName;
using quillomat::FrmStart;
using quillomat::testing::ShownText;
using quillomat::testing::ShowText;
using C = quillomat::Control;

namespace {

// Room added on each side, in logical pixels. At scales of quarters and halves these are whole
// device pixels, so the text moves by whole pixels and is drawn exactly as before.
constexpr int kWiderBy = 200;
constexpr int kTallerBy = 20;

QImage Render(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The device pixels in which two drawings differ.
QRect Differences(const QImage& a, const QImage& b) {
  QRect extent;
  for (int y = 0; y < a.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      if (rowA[x] != rowB[x]) extent |= QRect(x, y, 1, 1);
    }
  }
  return extent;
}

// Where the widget draws the text: the drawing with it against the drawing without it.
QRect InkOf(QWidget* widget, const QString& text) {
  const QString own = ShownText(widget);
  ShowText(widget, text);
  const QImage shown = Render(widget);
  ShowText(widget, QString());
  const QImage blank = Render(widget);
  ShowText(widget, own);
  return Differences(shown, blank);
}

QRect InkWithRoomToSpare(QWidget* widget, const QString& text) {
  const QSize size = widget->size();
  widget->resize(size + 2 * QSize(kWiderBy, kTallerBy));
  const QRect ink = InkOf(widget, text);
  widget->resize(size);
  return ink;
}

// Texts the program writes, besides the captions the window is built with.
std::vector<QString> TextsShownIn(Control control, const QString& caption) {
  switch (control) {
    case C::txtSigDiff:
      return {QStringLiteral("  SIGNIFICANTLY DIFFERENT  "), QStringLiteral("  NOT significantly different  ")};
    case C::lblPer1b:
    case C::lblPer2b:
    case C::lblWAvgb:
    case C::lblActDiffb:
    case C::lblDiffNeedb: return {QStringLiteral("08.48%"), QStringLiteral("100.00%"), QStringLiteral("182.15%")};
    // Input boxes take texts of any length and scroll them.
    case C::txtBase1:
    case C::txtResp1:
    case C::txtBase2:
    case C::txtResp2: return {};
    default: return caption.isEmpty() ? std::vector<QString>{} : std::vector<QString>{caption};
  }
}

TEST(TextClippingTest, EveryTextIsDrawnWhole) {
  FrmStart window;
  window.Widget(C::txtSigDiff)->show();
  window.Widget(C::txtWarnSign)->show();
  int checked = 0;
  for (std::size_t i = 0; i < quillomat::kControlCount; ++i) {
    const auto control = static_cast<Control>(i);
    QWidget* widget = window.Widget(control);
    for (const QString& text : TextsShownIn(control, ShownText(widget))) {
      SCOPED_TRACE(std::string(ControlName(control)) + " \"" + text.toStdString() + "\"");
      const QRect inPlace = InkOf(widget, text);
      const QRect whole = InkWithRoomToSpare(widget, text);
      EXPECT_FALSE(whole.isEmpty());
      EXPECT_EQ(inPlace.size(), whole.size()) << "drawn " << inPlace.width() << "x" << inPlace.height() << " of "
                                              << whole.width() << "x" << whole.height() << " device pixels";
      ++checked;
    }
  }
  // 15 captions, 4 buttons, 4 levels, the warning, 2 verdicts and 5 values in 3 lengths.
  EXPECT_EQ(checked, 41);
}

}  // namespace
