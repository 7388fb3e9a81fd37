#include <QApplication>

#include "start_window.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  QApplication::setOrganizationName(QStringLiteral("Pellnor"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quillomat.Quillomat"));
  QApplication app(argc, argv);

  quillomat::StartWindow window;
  window.show();
  return QApplication::exec();
}
