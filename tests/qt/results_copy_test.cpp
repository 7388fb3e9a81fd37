// Copy Results and the verdict's explanation on the working window, driven with real key and
// mouse events.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <vector>

#include "window_controller.h"

using C = quillomat::Control;

namespace {

class ResultsCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    ASSERT_NO_FATAL_FAILURE(Activate());
    QApplication::clipboard()->setText(QStringLiteral("before"));
  }
  // A display without a window manager activates nothing itself, nor after a message box.
  void Activate() {
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }

  quillomat::FrmStart& Window() { return app.Window(); }
  QLineEdit* Box(C c) { return Window().TextBox(c); }
  void Enter(const char* b1, const char* r1, const char* b2, const char* r2) {
    for (auto [box, text] : {std::pair{C::txtBase1, b1}, {C::txtResp1, r1}, {C::txtBase2, b2}, {C::txtResp2, r2}})
      QTest::keyClicks(Box(box), QString::fromLatin1(text));
  }
  void CtrlC() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier); }
  static QString Clipboard() { return QApplication::clipboard()->text(); }

  // The texts of the context menu that `widget` opens, closing it again.
  static QStringList MenuOf(QWidget* widget) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (const QAction* action : menu->actions()) {
        const QString text = action->text().remove(u'&').section(u'\t', 0, 0);
        if (!text.isEmpty()) texts << text + (action->isEnabled() ? "" : " (disabled)");
      }
      menu->close();
    });
    const QPoint at = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return texts;
  }

  quillomat::WindowController app;
};

TEST_F(ResultsCopyTest, CtrlCCopiesTheResultsUnlessTextIsSelected) {
  Enter("200", "50", "300", "120");
  CtrlC();  // the caret is in the last box, nothing selected
  const QString copied = Clipboard();
  EXPECT_TRUE(copied.startsWith("Player 1 base\t200\nPlayer 1 results\t50\n")) << copied.toStdString();
  EXPECT_TRUE(copied.contains("\nVerdict\tSIGNIFICANTLY DIFFERENT\nz\t-3.47\np (two-sided)\t0.00052\n"));
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->html().contains("<td>Interval low</td><td>-22.87%</td>"));

  Box(C::txtBase2)->setFocus();
  QTest::keyClick(Box(C::txtBase2), Qt::Key_A, Qt::ControlModifier);
  CtrlC();
  EXPECT_EQ(Clipboard(), "300");

  Window().Widget(C::cmdExit)->setFocus();  // not an input box: the window's shortcut
  CtrlC();
  EXPECT_TRUE(Clipboard().startsWith("Player 1 base\t200\n"));
}

TEST_F(ResultsCopyTest, StaleOrMissingResultsAreNeverCopied) {
  struct Retype {
    C box;
    const char* text;  // typed over the box's whole text, in one change
  };
  struct Case {
    const char* what;
    std::vector<Retype> retypes;
  };
  const Case cases[] = {
      {"a box empty", {{C::txtResp2, ""}}},
      {"the warning shown", {{C::txtResp2, "1200"}}},
      {"the calculation stopped by an error", {{C::txtResp1, "0"}, {C::txtBase1, "0"}}},  // 0 of 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (C box : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2}) Box(box)->clear();
    Enter("200", "50", "300", "120");  // calculated first: the previous results stay on screen
    QTimer answerer;                   // the error's message box
    QObject::connect(&answerer, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    answerer.start(5);
    for (const Retype& r : c.retypes) {
      QTest::keyClick(Box(r.box), Qt::Key_A, Qt::ControlModifier);
      if (*r.text == '\0') QTest::keyClick(Box(r.box), Qt::Key_Delete);
      QTest::keyClicks(Box(r.box), QString::fromLatin1(r.text));
    }
    answerer.stop();
    ASSERT_NO_FATAL_FAILURE(Activate());
    QApplication::clipboard()->setText(QStringLiteral("before"));
    Box(C::txtResp2)->setFocus();
    CtrlC();
    Window().Widget(C::cmdExit)->setFocus();
    CtrlC();
    EXPECT_EQ(Clipboard(), "before");
    EXPECT_TRUE(MenuOf(Window().Widget(C::lblBase1)).contains("Copy Results (disabled)"));
  }
}

TEST_F(ResultsCopyTest, ContextMenusOfferCopyResults) {
  Enter("200", "50", "300", "120");
  const QStringList boxMenu = MenuOf(Box(C::txtBase1));
  EXPECT_TRUE(boxMenu.contains("Paste")) << boxMenu.join(", ").toStdString();  // the box's own menu stays
  EXPECT_EQ(boxMenu.last(), "Copy Results");
  for (C elsewhere : {C::lblBase1, C::lblDiffNeedb, C::opt95, C::cmdClear1, C::txtSigDiff, C::Image1})
    EXPECT_EQ(MenuOf(Window().Widget(elsewhere)), QStringList{"Copy Results"}) << ControlName(elsewhere);
}

// What hovering over the verdict box shows.
QString ToolTipOf(QWidget* widget) {
  QHelpEvent hover(QEvent::ToolTip, widget->rect().center(), widget->mapToGlobal(widget->rect().center()));
  QApplication::sendEvent(widget, &hover);
  QToolTip::hideText();
  return widget->toolTip();
}

TEST_F(ResultsCopyTest, TheVerdictsTooltipExplainsItsEvidenceAtTheChosenLevel) {
  QWidget* verdict = Window().Widget(C::txtSigDiff);
  Enter("200", "50", "300", "120");
  EXPECT_EQ(ToolTipOf(verdict), QString::fromUtf8("z = −3.47, two-sided p = 0.00052.\n95% confidence interval for "
                                                  "Player 1 % − Player 2 %: −22.87 to −6.61 points."));

  QTest::mouseClick(Window().Option(C::opt99), Qt::LeftButton);
  const QString at99 = ToolTipOf(verdict);
  EXPECT_TRUE(at99.contains("99% confidence interval")) << at99.toStdString();
  EXPECT_FALSE(at99.contains("95%"));

  QTest::keyClicks(Box(C::txtResp2), "0");  // 1200 of 300: warned, the verdict stays
  const QString warned = ToolTipOf(verdict);
  EXPECT_TRUE(warned.startsWith("These are the previous entries' results")) << warned.toStdString();
  EXPECT_TRUE(warned.endsWith(at99));
}

TEST_F(ResultsCopyTest, AScreenReaderHearsTheEvidenceAsTheEntriesChange) {
  QWidget* verdict = Window().Widget(C::txtSigDiff);
  const auto description = [verdict] {
    return QAccessible::queryAccessibleInterface(verdict)->text(QAccessible::Description);
  };
  Enter("200", "50", "300", "120");
  QAccessible::setActive(true);  // as when a screen reader connects
  EXPECT_EQ(description(),
            QString::fromUtf8("z = −3.47, two-sided p = 0.00052. 95% confidence interval for Player 1 % − Player 2 %: "
                              "−22.87 to −6.61 points."));
  QTest::mouseClick(Window().Option(C::opt80), Qt::LeftButton);
  EXPECT_TRUE(description().contains("80% confidence interval")) << description().toStdString();
  QAccessible::setActive(false);
}

}  // namespace
