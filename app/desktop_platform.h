#pragma once
// What the program asks of the desktop besides its window's controls: message boxes, error
// reports and ending the program.

#include <string_view>

#include "form_handlers.h"

class QWidget;

namespace quillomat {

class DesktopPlatform : public Platform {
 public:
  // The boxes open over `window`, which ending the program closes.
  explicit DesktopPlatform(QWidget* window) : window_(window) {}

  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;
  // A modal warning naming the problem; the program carries on afterwards.
  void ReportError(std::u16string_view message);

 private:
  QWidget* window_;
};

}  // namespace quillomat
