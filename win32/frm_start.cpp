#include "frm_start.h"

#include <algorithm>

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
  OrderChildren();
  Layout(dpi_);
}

FrmStart::~FrmStart() {
  if (IsWindow(window_)) DestroyWindow(window_);
  for (HFONT font : fittedFonts_)
    if (font != nullptr) DeleteObject(font);
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

void FrmStart::CreateControls(HINSTANCE instance) {
  for (const table::ControlRow& row : table::Controls()) {
    const Creation creation = CreationOf(row);
    const std::wstring text = row.kind == table::Kind::Picture ? std::wstring() : Wide(row.text);
    HWND child =
        CreateWindowExW(creation.exStyle, creation.className, text.c_str(), creation.style, 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row.control))), instance, nullptr);
    if (row.kind == table::Kind::TextBox) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // no limit
    if (row.kind == table::Kind::OptionButton && row.Has(table::kSelected))
      SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
    children_[Index(row.control)] = child;
  }
}

// The window creates its controls in table order; the dialog manager's Tab follows the children's
// order, which is then set apart from it.
void FrmStart::OrderChildren() {
  HWND after = HWND_TOP;
  for (Control control : ChildOrder()) {
    SetWindowPos(Child(control), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = Child(control);
  }
}

HFONT FrmStart::FontFor(table::Font font) {
  HFONT& made = fonts_[{font.points, font.weight}];
  if (made == nullptr) made = CreateTableFont(font, dpi_);
  return made;
}

void FrmStart::FreeFonts() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
  fonts_.clear();
}

void FrmStart::Layout(UINT dpi) {
  dpi_ = dpi;
  std::map<std::pair<double, int>, HFONT> oldFonts;
  oldFonts.swap(fonts_);
  for (const table::ControlRow& row : table::Controls()) {
    HWND child = Child(row.control);
    const RECT box = ControlRect(row, dpi);
    SetWindowPos(child, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = FontFor(row.font);
    if (row.kind == table::Kind::Label) {
      HFONT& fitted = fittedFonts_[Index(row.control)];
      if (fitted != nullptr) DeleteObject(fitted);
      fitted = CreateFittedFont(row, dpi);
      font = fitted;
    }
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  for (auto& [key, font] : oldFonts) DeleteObject(font);

  HWND picture = Child(Control::Image1);
  RECT inside{};
  GetClientRect(picture, &inside);
  HBITMAP banner = LoadBanner(instance_, dpi, {inside.right, inside.bottom});
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
  if (banner_ != nullptr) DeleteObject(banner_);
  banner_ = banner;
  InvalidateRect(window_, nullptr, TRUE);
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
