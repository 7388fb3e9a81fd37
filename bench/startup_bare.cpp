// The yardstick for start-up: the same application set-up and exit rule as startup_quillomat,
// with a plain empty window of the program's size in place of the program's window.
//
// With --with-text the window also shows one line of text, which makes Qt set up its font
// system (fontconfig, a font engine, text shaping) as any window with text must; the difference
// to the plain window is the share of start-up that no window with text can avoid.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "application_info.h"
#include "bare_window.h"
#include "first_paint.h"

int main(int argc, char* argv[]) {
  quillomat::DescribeApplication();
  QApplication app(argc, argv);

  if (QCoreApplication::arguments().contains(QStringLiteral("--controls"))) {
    quillomat::bench::BareWindow window;
    quillomat::bench::ExitOnFirstPaint exit(&window);
    window.show();
    return QApplication::exec();
  }
  QWidget window;
  window.setWindowTitle(QStringLiteral("Created by Brannoch"));
  window.setFixedSize(638, 399);
  if (QCoreApplication::arguments().contains(QStringLiteral("--with-text"))) {
    auto* text = new QLabel(QStringLiteral("Significance Testing Using T-Test"), &window);
    text->setGeometry(72, 8, 497, 49);
  }
  quillomat::bench::ExitOnFirstPaint exit(&window);
  window.show();
  return QApplication::exec();
}
