#pragma once
// What the program asks of the desktop besides its window's controls: message boxes, error
// reports and ending the program.

#include <string_view>

#include "window_session.h"

class QWidget;

namespace quillomat {

class DesktopPlatform : public Desktop {
 public:
  // The boxes open over `window`, which ending the program closes.
  explicit DesktopPlatform(QWidget* window) : window_(window) {}

  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;
  void ReportError(std::u16string_view message) override;

 private:
  QWidget* window_;
};

}  // namespace quillomat
