#include "frm_start.h"

#include <algorithm>
#include <utility>

#include "banner_picture.h"
#include "win32_table.h"
#include "win32_text.h"

namespace quillomat::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillomatFrmStart";
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kIconResource = 1;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_ACTIVEBORDER);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when a second window registers it again
}

// The colour a control's rectangle is filled with: the line is all foreground.
table::Colour FillOf(const table::ControlRow& row) {
  return row.kind == table::Kind::Line ? table::Foreground(row) : table::Background(row);
}

}  // namespace

FrmStart::FrmStart(HINSTANCE instance, WNDPROC procedure) : instance_(instance) {
  RegisterWindowClass(instance, procedure);
  const std::wstring title = Wide(table::Window().title);
  window_ = CreateWindowExW(0, kClassName, title.c_str(), kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  dpi_ = GetDpiForWindow(window_);
  SetUpColours();
  CreateControls(instance);
  SetBanner();
}

FrmStart::~FrmStart() {
  if (IsWindow(window_)) DestroyWindow(window_);
  for (HBRUSH brush : fixedBrushes_)
    if (brush != nullptr) DeleteObject(brush);
  FreeFonts();
  if (banner_ != nullptr) DeleteObject(banner_);
}

std::optional<Control> FrmStart::ControlOf(HWND child) const {
  const auto found = std::ranges::find(children_, child);
  if (child == nullptr || found == children_.end()) return std::nullopt;
  return static_cast<Control>(found - children_.begin());
}

std::optional<Control> FrmStart::ControlOfId(UINT_PTR id) const {
  constexpr auto kFirst = static_cast<UINT_PTR>(kFirstControlId);
  if (id < kFirst || id >= kFirst + kControlCount) return std::nullopt;
  return static_cast<Control>(id - kFirst);
}

void FrmStart::SetUpColours() {
  for (const table::ControlRow& row : table::Controls()) {
    const table::Colour fill = FillOf(row);
    if (fill.source == table::Colour::Source::Fixed)
      fixedBrushes_[Index(row.control)] = CreateSolidBrush(ColourRef(fill));
  }
}

// The dialog manager's Tab follows the children's order, and each child comes after those
// created before it: the controls are created in that order, each in its place with its font.
void FrmStart::CreateControls(HINSTANCE instance) {
  HDC measuring = CreateCompatibleDC(nullptr);
  for (Control control : ChildOrder()) {
    const table::ControlRow& row = table::Row(control);
    const Creation creation = CreationOf(row);
    const std::wstring text = row.kind == table::Kind::Picture ? std::wstring() : Wide(row.text);
    const RECT box = ControlRect(row, dpi_);
    HWND child = CreateWindowExW(creation.exStyle, creation.className, text.c_str(), creation.style, box.left, box.top,
                                 box.right - box.left, box.bottom - box.top, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control))), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row, measuring)), FALSE);
    if (row.kind == table::Kind::TextBox) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // no limit
    if (row.kind == table::Kind::OptionButton && row.Has(table::kSelected))
      SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
    children_[Index(control)] = child;
  }
  DeleteDC(measuring);
}

HFONT FrmStart::FontOf(const table::ControlRow& row, HDC measuring) {
  const auto fontOf = [this, &row](int pixels) { return FontOfHeight(row.font, pixels); };
  return fontOf(row.kind == table::Kind::Label ? FittedPixels(row, dpi_, measuring, fontOf)
                                               : table::PixelSize(row.font, static_cast<int>(dpi_)));
}

HFONT FrmStart::FontOfHeight(table::Font font, int pixels) {
  HFONT& made = fonts_[{font.points, font.weight, pixels}];
  if (made == nullptr) made = CreateTableFont(font, pixels);
  return made;
}

void FrmStart::FreeFonts() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
  fonts_.clear();
}

void FrmStart::Layout(UINT dpi) {
  dpi_ = dpi;
  auto oldFonts = std::exchange(fonts_, {});
  HDC measuring = CreateCompatibleDC(nullptr);
  for (const table::ControlRow& row : table::Controls()) {
    HWND child = Child(row.control);
    const RECT box = ControlRect(row, dpi);
    SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(row, measuring)), FALSE);
  }
  DeleteDC(measuring);
  for (auto& [key, font] : oldFonts) DeleteObject(font);
  SetBanner();
  InvalidateRect(window_, nullptr, TRUE);
}

void FrmStart::SetBanner() {
  HWND picture = Child(Control::Image1);
  RECT inside{};
  GetClientRect(picture, &inside);
  HBITMAP banner = LoadBanner(instance_, dpi_, {inside.right, inside.bottom});
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
  if (banner_ != nullptr) DeleteObject(banner_);
  banner_ = banner;
}

void FrmStart::CentreOnWorkArea() {
  const SIZE client = ClientSize(dpi_);
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectExForDpi(&frame, kFrameStyle, FALSE, 0, dpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmStart::ShowAndFocus() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  for (Control control : ChildOrder()) {
    HWND child = Child(control);
    if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child)) {
      SetFocus(child);
      return;
    }
  }
}

HBRUSH FrmStart::Paint(HDC dc, HWND child) const {
  const std::optional<Control> control = ControlOf(child);
  if (!control) return nullptr;
  const table::ControlRow& row = table::Row(*control);
  const table::Colour fill = FillOf(row);
  const table::Colour ink = table::Foreground(row);
  // A theme's text colour suits the theme's own backgrounds only: on a fixed one, black or white.
  const COLORREF text = ink.source == table::Colour::Source::System && fill.source == table::Colour::Source::Fixed
                            ? ColourRef(table::FixedRgb(table::ReadableTextOn(fill.rgb)))
                            : ColourRef(ink);
  SetTextColor(dc, text);
  SetBkColor(dc, ColourRef(fill));
  return fill.source == table::Colour::Source::Fixed ? fixedBrushes_[Index(*control)]
                                                     : GetSysColorBrush(SystemColourIndex(fill.system));
}

}  // namespace quillomat::win32
