#include <QApplication>

#include "application_info.h"
#include "start_window.h"

int main(int argc, char* argv[]) {
  quillomat::DescribeApplication();
  QApplication app(argc, argv);

  quillomat::StartWindow window;
  window.show();
  return QApplication::exec();
}
