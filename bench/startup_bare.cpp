// The yardstick for start-up: the same application set-up and exit rule as startup_quillomat,
// with a plain empty window of the program's size in place of the program's window.
#include <QApplication>
#include <QWidget>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  QApplication::setOrganizationName(QStringLiteral("Pellnor"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quillomat.Quillomat"));
  QApplication app(argc, argv);

  QWidget window;
  window.setWindowTitle(QStringLiteral("Created by Brannoch"));
  window.setFixedSize(638, 399);
  quillomat::bench::ExitOnFirstPaint exit(&window);
  window.show();
  return QApplication::exec();
}
