// The yardstick for the Windows window: a plain Win32 window of Quillomat's client size with 36 plain
// texts and one input (control id 113, where Quillomat has txtBase1) without a length limit, as
// Quillomat's boxes have none, whose text is copied into the last text on every change. It does
// what any window of that shape must do and nothing more, so window_bench's figures for
// Quillomat.exe over this program's are what Quillomat's own work costs.
#include <windows.h>

#include <array>

namespace quillomat {
namespace {

constexpr int kClientWidth = 638;
constexpr int kClientHeight = 399;
constexpr int kTextCount = 36;
constexpr int kTextColumns = 3;
// Clear of the input's id, so that GetDlgItem(window, 113) finds the input alone.
constexpr int kFirstTextId = 200;
constexpr int kInputId = 113;
constexpr int kEchoId = kFirstTextId + kTextCount - 1;

HFONT messageFont = nullptr;

HMENU ControlId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// The font of message boxes, the one a Win32 program takes for its controls.
HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

void CreateControls(HWND window) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  messageFont = CreateMessageFont();
  constexpr int kTextWidth = 200;
  constexpr int kTextHeight = 20;
  constexpr int kRowHeight = 24;
  for (int i = 0; i < kTextCount; ++i) {
    std::array<wchar_t, 32> caption{};
    wsprintfW(caption.data(), L"Text %d", i + 1);
    int x = 12 + (i % kTextColumns) * (kTextWidth + 10);
    int y = 12 + (i / kTextColumns) * kRowHeight;
    HWND text = CreateWindowExW(0, L"STATIC", caption.data(), WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, kTextWidth,
                                kTextHeight, window, ControlId(kFirstTextId + i), instance, nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont), FALSE);
  }
  HWND input = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 12,
                               12 + (kTextCount / kTextColumns) * kRowHeight + 12, 120, 24, window, ControlId(kInputId),
                               instance, nullptr);
  SendMessageW(input, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont), FALSE);
  SendMessageW(input, EM_SETLIMITTEXT, 0, 0);
  SetFocus(input);
}

void EchoInput(HWND window) {
  std::array<wchar_t, 64> text{};
  GetDlgItemTextW(window, kInputId, text.data(), static_cast<int>(text.size()));
  SetDlgItemTextW(window, kEchoId, text.data());
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateControls(window); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kInputId && HIWORD(wParam) == EN_CHANGE) EchoInput(window);
      return 0;
    case WM_DESTROY:
      if (messageFont != nullptr) DeleteObject(messageFont);
      PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace
}  // namespace quillomat

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = quillomat::BareWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"QuillomatBareWindow";
  if (RegisterClassExW(&windowClass) == 0) return 1;

  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, quillomat::kClientWidth, quillomat::kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"Bare window", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
