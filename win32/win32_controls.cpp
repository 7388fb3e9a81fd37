#include "win32_controls.h"

#include "frm_start.h"
#include "win32_text.h"
#include "window_table.h"

namespace quillomat::win32 {
namespace {

// The control's window if it is of the kind that has the property, or the run-time error of a
// control without it.
HWND Require(const FrmStart& window, Control control, table::Kind kind, const char* property) {
  table::RequireKind(control, kind, property);
  return window.Child(control);
}

}  // namespace

std::u16string Win32Controls::Text(Control textBox) const {
  return Utf16(WindowText(Require(window_, textBox, table::Kind::TextBox, "Text")));
}

void Win32Controls::SetText(Control textBox, std::u16string_view text) {
  SetWindowTextW(Require(window_, textBox, table::Kind::TextBox, "Text"), Wide(text).c_str());
}

std::u16string Win32Controls::Caption(Control label) const {
  return Utf16(WindowText(Require(window_, label, table::Kind::Label, "Caption")));
}

void Win32Controls::SetCaption(Control label, std::u16string_view caption) {
  SetWindowTextW(Require(window_, label, table::Kind::Label, "Caption"), Wide(caption).c_str());
}

bool Win32Controls::Value(Control optionButton) const {
  HWND option = Require(window_, optionButton, table::Kind::OptionButton, "Value");
  return SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// ShowWindow asks the server to move a window even when it already is as asked, and the handlers
// show the results again at every keystroke.
void Win32Controls::SetVisible(Control control, bool visible) {
  HWND child = window_.Child(control);
  if (((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
    ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Controls::SetEnabled(Control control, bool enabled) { EnableWindow(window_.Child(control), enabled); }

}  // namespace quillomat::win32
