#include "win32_desktop.h"

#include "win32_text.h"

namespace quillomat::win32 {

void Win32Desktop::Show(std::u16string_view text, UINT type) {
  HWND focus = GetFocus();
  MessageBoxW(window_, Wide(text).c_str(), kApplicationName, type);
  if (focus != nullptr && IsWindow(focus)) SetFocus(focus);
}

void Win32Desktop::MessageBox(std::u16string_view prompt) { Show(prompt, MB_OK); }

void Win32Desktop::ReportError(std::u16string_view message) { Show(message, MB_OK | MB_ICONWARNING); }

void Win32Desktop::EndProgram() { DestroyWindow(window_); }

}  // namespace quillomat::win32
