// Start-up of the program to its first shown window: the application set up as the program sets
// it up, the working window built (layout, wiring, load handler) and shown; the process ends as
// soon as the window's first frame is on the screen (see first_paint.h).
#include <QApplication>

#include "application_info.h"
#include "first_paint.h"
#include "window_controller.h"

int main(int argc, char* argv[]) {
  quillomat::DescribeApplication();
  QApplication app(argc, argv);

  quillomat::WindowController window;
  quillomat::bench::ExitOnFirstPaint exit(&window.Window());
  window.Show();
  return QApplication::exec();
}
