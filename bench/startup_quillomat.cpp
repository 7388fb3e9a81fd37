// Start-up of the program to its first shown window: the application set up as the program sets
// it up, the working window built (layout, wiring, load handler) and shown; the process ends as
// soon as the window's first frame is on the screen (see first_paint.h).
#include <QApplication>

#include "first_paint.h"
#include "start_window.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  QApplication::setOrganizationName(QStringLiteral("Pellnor"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quillomat.Quillomat"));
  QApplication app(argc, argv);

  quillomat::StartWindow window;
  quillomat::bench::ExitOnFirstPaint exit(&window.window());
  window.show();
  return QApplication::exec();
}
