#include "desktop_platform.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "qt_text.h"

namespace quillomat {

void DesktopPlatform::MessageBox(std::u16string_view prompt) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), ToQString(prompt), QMessageBox::Ok,
                  window_);
  box.exec();
}

void DesktopPlatform::EndProgram() {
  window_->close();
  QApplication::quit();
}

void DesktopPlatform::ReportError(std::u16string_view message) {
  QMessageBox::warning(window_, QApplication::applicationDisplayName(), ToQString(message));
}

}  // namespace quillomat
