#pragma once
// The window table's rows in Win32's terms: window classes and styles, rectangles at a monitor's
// density, colours and fonts, and the order of the child windows.

#include <array>
#include <functional>

#include "window_table.h"
#include "windows_api.h"

namespace quillomat::win32 {

// A child window's id is its control's index in creation order, past the dialog's IDOK and IDCANCEL.
inline constexpr int kFirstControlId = 100;
constexpr int ControlId(Control control) { return kFirstControlId + static_cast<int>(Index(control)); }

struct Creation {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};
// The standard class and the styles for the row's kind, alignment and initial state.
Creation CreationOf(const table::ControlRow& row);

// The control's rectangle in client pixels at `dpi`; the line is as tall as a pixel there.
RECT ControlRect(const table::ControlRow& row, UINT dpi);
SIZE ClientSize(UINT dpi);

// The index GetSysColor and GetSysColorBrush take for a colour role.
int SystemColourIndex(table::SystemColour colour);
COLORREF ColourRef(table::Colour colour);
// The table's face at `font`'s weight, `pixels` tall.
HFONT CreateTableFont(table::Font font, int pixels);
// The height in pixels of a label's font at `dpi`: its table size, or a little smaller where the
// substitute face would not show its widest text whole. `fontOf` gives the label's font at a
// height; `dc` measures the text.
int FittedPixels(const table::ControlRow& row, UINT dpi, HDC dc, const std::function<HFONT(int pixels)>& fontOf);

// Child windows in tab-index order, which the dialog manager's Tab follows; each input box's
// caption label comes just before the box, so that accessibility tools name the box by it.
std::array<Control, kControlCount> ChildOrder();

}  // namespace quillomat::win32
