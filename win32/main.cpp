// Quillomat for Windows: the window frmStart on the standard controls.
#include "window_controller.h"
#include "windows_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The manifest asks for per-monitor density awareness; where it is not read, ask here.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  int status = 0;
  {
    quillomat::win32::WindowController window(instance);
    window.Show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    status = static_cast<int>(message.wParam);
  }
  return status;
}
