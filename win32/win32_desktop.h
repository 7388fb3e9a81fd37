#pragma once
// What the program asks of Windows besides its controls: message boxes, error reports and ending
// the program.

#include "window_session.h"
#include "windows_api.h"

namespace quillomat::win32 {

// The title of the program's boxes.
inline constexpr wchar_t kApplicationName[] = L"Quillomat";

class Win32Desktop : public Desktop {
 public:
  // The boxes are owned by `window`, which ending the program destroys.
  explicit Win32Desktop(HWND window) : window_(window) {}

  // One OK button, no icon; the keyboard focus is back where it was when the box closes.
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;
  void ReportError(std::u16string_view message) override;

 private:
  void Show(std::u16string_view text, UINT type);

  HWND window_;
};

}  // namespace quillomat::win32
