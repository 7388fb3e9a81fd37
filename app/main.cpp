#include <QApplication>

#include "frm_start.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("Quillomat"));
  QApplication::setApplicationVersion(QStringLiteral("1.00"));
  QApplication::setOrganizationName(QStringLiteral("Pellnor"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quillomat.Quillomat"));
  QApplication app(argc, argv);

  FrmStart window;
  window.show();
  return QApplication::exec();
}
