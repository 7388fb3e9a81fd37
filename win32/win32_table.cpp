#include "win32_table.h"

#include <algorithm>
#include <string>

namespace quillomat::win32 {
namespace {

using table::Align;
using table::Kind;

DWORD EditAlignment(Align align) {
  switch (align) {
    case Align::Centre: return ES_CENTER;
    case Align::Right: return ES_RIGHT;
    case Align::Left: break;
  }
  return ES_LEFT;
}

// A caption never wraps onto a second line that its box would cut off.
DWORD StaticAlignment(Align align) {
  switch (align) {
    case Align::Centre: return SS_CENTER;
    case Align::Right: return SS_RIGHT;
    case Align::Left: break;
  }
  return SS_LEFTNOWORDWRAP;
}

// The levels form one group from the first of them in tab order; every other control starts a
// group of its own, so the arrow keys stay within the levels.
bool StartsGroup(const table::ControlRow& row) {
  if (row.kind != Kind::OptionButton) return true;
  return std::ranges::none_of(table::Controls(), [&row](const table::ControlRow& other) {
    return other.kind == Kind::OptionButton && other.tabIndex < row.tabIndex;
  });
}

}  // namespace

Creation CreationOf(const table::ControlRow& row) {
  DWORD state = WS_CHILD | (row.Has(table::kHidden) ? 0 : WS_VISIBLE) | (row.Has(table::kDisabled) ? WS_DISABLED : 0) |
                (StartsGroup(row) ? WS_GROUP : 0);
  switch (row.kind) {
    case Kind::TextBox:
      if (!row.Has(table::kDisabled)) state |= WS_TABSTOP;
      return {L"EDIT", state | ES_AUTOHSCROLL | EditAlignment(row.align), WS_EX_CLIENTEDGE};
    case Kind::Label: return {L"STATIC", state | SS_NOPREFIX | StaticAlignment(row.align), 0};
    case Kind::CommandButton: return {L"BUTTON", state | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::OptionButton:
      // Tab enters the levels at the selected one; arrow keys move within them.
      return {L"BUTTON", state | BS_AUTORADIOBUTTON | (row.Has(table::kSelected) ? WS_TABSTOP : 0), 0};
    case Kind::Picture: return {L"STATIC", state | SS_BITMAP | SS_CENTERIMAGE, WS_EX_CLIENTEDGE};
    case Kind::Line: break;
  }
  return {L"STATIC", state, 0};
}

RECT ControlRect(const table::ControlRow& row, UINT dpi) {
  const int d = static_cast<int>(dpi);
  if (row.kind == Kind::Line) {
    const int top = table::Pixels(row.line.y1, d);
    return {table::Pixels(row.line.x1, d), top, table::Pixels(row.line.x2, d), top + std::max(1, d / 96)};
  }
  const int left = table::Pixels(row.box.left, d);
  const int top = table::Pixels(row.box.top, d);
  return {left, top, left + table::Pixels(row.box.width, d), top + table::Pixels(row.box.height, d)};
}

SIZE ClientSize(UINT dpi) {
  const table::WindowRow& window = table::Window();
  return {table::Pixels(window.clientWidthTwips, static_cast<int>(dpi)),
          table::Pixels(window.clientHeightTwips, static_cast<int>(dpi))};
}

int SystemColourIndex(table::SystemColour colour) {
  switch (colour) {
    case table::SystemColour::ButtonFace: return COLOR_BTNFACE;
    case table::SystemColour::ButtonText: return COLOR_BTNTEXT;
    case table::SystemColour::WindowBackground: return COLOR_WINDOW;
    case table::SystemColour::WindowText: return COLOR_WINDOWTEXT;
    case table::SystemColour::ActiveBorder: break;
  }
  return COLOR_ACTIVEBORDER;
}

COLORREF ColourRef(table::Colour colour) {
  if (colour.source == table::Colour::Source::System) return GetSysColor(SystemColourIndex(colour.system));
  return RGB((colour.rgb >> 16) & 0xFF, (colour.rgb >> 8) & 0xFF, colour.rgb & 0xFF);
}

HFONT CreateTableFont(table::Font font, int pixels) {
  LOGFONTW face{};
  face.lfHeight = -pixels;
  face.lfWeight = font.weight;
  face.lfCharSet = ANSI_CHARSET;
  face.lfQuality = DEFAULT_QUALITY;
  face.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynW(face.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  return CreateFontIndirectW(&face);
}

int FittedPixels(const table::ControlRow& row, UINT dpi, HDC dc, const std::function<HFONT(int pixels)>& fontOf) {
  const std::u16string_view widest = row.widest.empty() ? row.text : row.widest;
  const std::wstring text(widest.begin(), widest.end());
  const int room = table::Pixels(row.box.width, static_cast<int>(dpi));
  const int size = table::PixelSize(row.font, static_cast<int>(dpi));
  const int smallest = size - std::max(1, size / 10);
  // A pixel smaller at a time, never by more than a tenth, until the text fits.
  int pixels = size;
  for (; pixels > smallest; --pixels) {
    const HGDIOBJ old = SelectObject(dc, fontOf(pixels));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    if (extent.cx <= room) break;
  }
  return pixels;
}

std::array<Control, kControlCount> ChildOrder() {
  std::array<Control, kControlCount> order{};
  std::ranges::transform(table::Controls(), order.begin(), [](const table::ControlRow& row) { return row.control; });
  // Controls without a tab index (the picture and the line) go last.
  std::ranges::stable_sort(order, {}, [](Control c) { return table::Row(c).tabIndex.value_or(kControlCount); });
  for (const table::AccessibleRow& row : table::Accessibility()) {
    if (!row.labelledBy || table::Row(row.control).kind != Kind::TextBox) continue;
    const auto caption = std::ranges::find(order, *row.labelledBy);
    const auto box = std::ranges::find(order, row.control);
    if (caption < box)
      std::rotate(caption, caption + 1, box);
    else
      std::rotate(box, caption, caption + 1);
  }
  return order;
}

}  // namespace quillomat::win32
