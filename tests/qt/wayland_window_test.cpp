// The working window as a Wayland client: run under a compositor of its own by
// tests/qt/wayland_check.sh, through tools/with_weston.sh.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "application_info.h"
#include "window_controller.h"

using C = quillomat::Control;

namespace {

TEST(WaylandWindow, TheTypicalRunGivesTheTypicalResults) {
  ASSERT_EQ(QGuiApplication::platformName(), "wayland");
  quillomat::WindowController app;
  quillomat::FrmStart& window = app.Window();
  app.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // Qt's Wayland plugin reports no activation to qWaitForWindowActive; the compositor activates
  // a new window by itself.
  QTRY_VERIFY_WITH_TIMEOUT(window.isActiveWindow(), 5000);

  for (auto [box, text] :
       {std::pair{C::txtBase1, "200"}, {C::txtResp1, "50"}, {C::txtBase2, "300"}, {C::txtResp2, "120"}})
    QTest::keyClicks(window.TextBox(box), QString::fromLatin1(text));

  QStringList shown;
  for (C label : {C::lblPer1b, C::lblPer2b, C::lblWAvgb, C::lblActDiffb, C::lblDiffNeedb})
    shown << window.Label(label)->text();
  EXPECT_EQ(shown, (QStringList{"25.00%", "40.00%", "34.00%", "15.00%", "08.48%"}));
  EXPECT_EQ(window.TextBox(C::txtSigDiff)->text(), "  SIGNIFICANTLY DIFFERENT  ");
  EXPECT_EQ(window.size(), QSize(638, 399));
  EXPECT_EQ(window.windowTitle(), "Created by Brannoch");
}

}  // namespace

int main(int argc, char* argv[]) {
  quillomat::DescribeApplication();
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
