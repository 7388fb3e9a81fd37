#include <QApplication>

#include "application_info.h"
#include "window_controller.h"

int main(int argc, char* argv[]) {
  quillomat::DescribeApplication();
  QApplication app(argc, argv);

  quillomat::WindowController window;
  window.Show();
  return QApplication::exec();
}
