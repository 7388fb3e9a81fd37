#include "window_fixture.h"

namespace quillomat::win32 {

std::vector<SeenBox>* g_seen = nullptr;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  wchar_t className[16]{};
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && g_seen != nullptr && GetClassNameW(window, className, 16) &&
      std::wstring_view(className) == L"#32770") {
    SeenBox box{Narrow(WindowText(window)), Narrow(WindowText(GetDlgItem(window, 0xFFFF))), 0, false};
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      GetClassNameW(child, className, 16);
      const auto style = GetWindowLongPtrW(child, GWL_STYLE);
      // The box is not shown yet: its controls' own styles say which of them it shows.
      if (!(style & WS_VISIBLE)) continue;
      if (std::wstring_view(className) == L"Button") ++box.buttons;
      if (std::wstring_view(className) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
          SendMessageW(child, STM_GETICON, 0, 0) != 0)
        box.icon = true;
    }
    g_seen->push_back(box);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace quillomat::win32
