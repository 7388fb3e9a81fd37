// What the window paints, compared pixel by pixel, at whatever scale the test runs.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

#include "drawn_controls.h"
#include "window_widgets.h"

using quillomat::Control;
using quillomat::ControlName;
using quillomat::FrmStart;

namespace {

// Theme colours all different, so each control shows which role it paints with.
QPalette DistinctPalette() {
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x40));
  palette.setColor(QPalette::Button, QColor(0x40, 0xA0, 0xA0));
  palette.setColor(QPalette::Base, QColor(0xF0, 0xF0, 0xE0));
  palette.setColor(QPalette::Text, QColor(0x30, 0x00, 0x00));
  palette.setColor(QPalette::ButtonText, QColor(0x00, 0x30, 0x00));
  palette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x30));
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x50, 0x40));
  return palette;
}

class FrmStartRenderTest : public testing::Test {
 protected:
  void SetUp() override {
    originalPalette_ = QApplication::palette();
    QApplication::setPalette(DistinctPalette());
    window_ = std::make_unique<FrmStart>();
  }
  void TearDown() override {
    window_.reset();
    QApplication::setPalette(originalPalette_);
  }

  QImage Grab() const { return window_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // The device pixel at the centre of a logical pixel.
  static QColor At(const QImage& image, QPoint logical) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>((logical.x() + 0.5) * ratio),
                            static_cast<int>((logical.y() + 0.5) * ratio));
  }

  // Whether every device pixel of a logical pixel has the colour.
  static bool Fills(const QImage& image, QPoint logical, QColor colour) {
    const int ratio = qRound(image.devicePixelRatio());
    for (int dy = 0; dy < ratio; ++dy) {
      for (int dx = 0; dx < ratio; ++dx) {
        if (image.pixelColor(logical * ratio + QPoint(dx, dy)) != colour) return false;
      }
    }
    return true;
  }

  static bool Contains(const QImage& image, QRect logical, QColor colour) {
    const qreal ratio = image.devicePixelRatio();
    const QRect device(logical.topLeft() * ratio, logical.size() * ratio);
    for (int y = device.top(); y <= device.bottom(); ++y) {
      for (int x = device.left(); x <= device.right(); ++x) {
        if (image.pixelColor(x, y) == colour) return true;
      }
    }
    return false;
  }

  QRect Rect(Control control) const { return window_->Widget(control)->geometry(); }
  QColor Theme(QPalette::ColorRole role) const { return window_->palette().color(role); }

  QPalette originalPalette_;
  std::unique_ptr<FrmStart> window_;
};

TEST_F(FrmStartRenderTest, RunsAtTheRequestedScale) {
  const double requested =
      qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
  EXPECT_DOUBLE_EQ(Grab().devicePixelRatio(), requested);
  EXPECT_EQ(Grab().size(), QSize(638, 399) * requested);
}

TEST_F(FrmStartRenderTest, ControlsPaintTheirBackgrounds) {
  struct Case {
    Control control;
    QColor colour;
  };
  const QColor blue(0xC0, 0xC0, 0xFF);
  window_->Widget(Control::txtWarnSign)->show();
  const Case cases[] = {
      {Control::Label1, blue},
      {Control::Label2, blue},
      {Control::Label3, blue},
      {Control::Label4, blue},
      {Control::lblSigLevel, blue},
      {Control::txtWarnSign, QColor(0xFF, 0xC0, 0xC0)},
      {Control::lblBase1, Theme(QPalette::Button)},
      {Control::lblPer1b, Theme(QPalette::Button)},
      {Control::lblDiffNeedb, Theme(QPalette::Button)},
      {Control::lblTitle, Theme(QPalette::Button)},
      {Control::txtBase1, Theme(QPalette::Base)},
      {Control::opt95, Theme(QPalette::Window)},
  };
  const QImage image = Grab();
  for (const Case& c : cases) {
    SCOPED_TRACE(ControlName(c.control).data());
    // The inner bottom-right corner: inside any frame, clear of top-aligned or short text.
    const QPoint corner = Rect(c.control).bottomRight() - QPoint(3, 3);
    EXPECT_EQ(At(image, corner), c.colour) << At(image, corner).name().toStdString();
  }
  EXPECT_EQ(At(image, {630, 390}), Theme(QPalette::Window));
}

TEST_F(FrmStartRenderTest, TextsUseTheirForegroundRoles) {
  const QImage image = Grab();
  EXPECT_TRUE(Contains(image, Rect(Control::lblTitle), Theme(QPalette::Text)));
  EXPECT_FALSE(Contains(image, Rect(Control::lblTitle), Theme(QPalette::ButtonText)));
  EXPECT_TRUE(Contains(image, Rect(Control::lblBase1), Theme(QPalette::ButtonText)));
}

// The theme's text colour is meant for the theme's backgrounds, not for the window's own light ones.
TEST_F(FrmStartRenderTest, EnabledTextOnAFixedBackgroundIsBlack) {
  window_->Widget(Control::txtWarnSign)->show();
  const QImage image = Grab();
  // Bold, so their strokes have cores of the full colour at any scale.
  for (Control heading : {Control::Label1, Control::Label2, Control::Label3, Control::Label4}) {
    SCOPED_TRACE(ControlName(heading).data());
    EXPECT_TRUE(Contains(image, Rect(heading), Qt::black));
    EXPECT_FALSE(Contains(image, Rect(heading), Theme(QPalette::ButtonText)));
  }
  // Disabled for life, the warning keeps the theme's disabled text.
  const QColor disabledText = window_->palette().color(QPalette::Disabled, QPalette::Text);
  EXPECT_TRUE(Contains(image, Rect(Control::txtWarnSign), disabledText));
  EXPECT_FALSE(Contains(image, Rect(Control::txtWarnSign), Qt::black));
}

TEST_F(FrmStartRenderTest, LineIsOnePixelOfWindowText) {
  const QImage image = Grab();
  for (int x : {0, 300, 637}) {
    SCOPED_TRACE(x);
    EXPECT_TRUE(Fills(image, {x, 64}, Theme(QPalette::Text)));
    EXPECT_TRUE(Fills(image, {x, 63}, Theme(QPalette::Window)));
    EXPECT_TRUE(Fills(image, {x, 65}, Theme(QPalette::Window)));
  }
}

TEST_F(FrmStartRenderTest, PictureFillsItsSunkenBorderPixelForPixel) {
  auto* box = qobject_cast<quillomat::PictureBox*>(window_->Widget(Control::Image1));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->frameWidth(), 2);
  EXPECT_EQ(box->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(box->contentsRect(), QRect(2, 2, 418, 67));
  const QImage image = Grab();
  // A 2x screen shows the banner drawn at twice the size, each of its pixels on one device pixel.
  const int sourceRatio = image.devicePixelRatio() >= 2 ? 2 : 1;
  const QImage source =
      QImage(sourceRatio == 2 ? QStringLiteral(":/quillomat/banner@2x.png") : QStringLiteral(":/quillomat/banner.gif"))
          .convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(source.size(), QSize(418, 67) * sourceRatio);
  const int ratio = qRound(image.devicePixelRatio()) / sourceRatio;
  const QPoint origin = box->geometry().topLeft() + QPoint(2, 2);
  int mismatches = 0;
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x) {
      for (int dy = 0; dy < ratio; ++dy) {
        for (int dx = 0; dx < ratio; ++dx) {
          const QPoint device = (origin * sourceRatio + QPoint(x, y)) * ratio + QPoint(dx, dy);
          if (image.pixel(device) != source.pixel(x, y)) ++mismatches;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
