#include "web_controls.h"

#include <cstdlib>
#include <memory>

#include "page_api.h"
#include "window_table.h"

namespace quillomat::web {
namespace {

// The control's index for the page if it is of the kind that has the property, or the run-time
// error of a control without it.
int PageIndex(Control control) { return static_cast<int>(Index(control)); }

int Require(Control control, table::Kind kind, const char* property) {
  table::RequireKind(control, kind, property);
  return PageIndex(control);
}

std::u16string TakeText(char16_t* text, std::size_t length) {
  const std::unique_ptr<char16_t, decltype(&std::free)> owned(text, &std::free);
  return {text, length};
}

}  // namespace

std::u16string WebControls::Text(Control textBox) const {
  std::size_t length = 0;
  char16_t* text = quillomat_page_text(Require(textBox, table::Kind::TextBox, "Text"), &length);
  return TakeText(text, length);
}

void WebControls::SetText(Control textBox, std::u16string_view text) {
  const int box = Require(textBox, table::Kind::TextBox, "Text");
  if (quillomat_page_set_text(box, text.data(), text.size()) != 0 && textChanged_) textChanged_(textBox);
}

std::u16string WebControls::Caption(Control label) const {
  std::size_t length = 0;
  char16_t* text = quillomat_page_caption(Require(label, table::Kind::Label, "Caption"), &length);
  return TakeText(text, length);
}

void WebControls::SetCaption(Control label, std::u16string_view caption) {
  quillomat_page_set_caption(Require(label, table::Kind::Label, "Caption"), caption.data(), caption.size());
}

bool WebControls::Value(Control optionButton) const {
  return quillomat_page_checked(Require(optionButton, table::Kind::OptionButton, "Value")) != 0;
}

void WebControls::SetVisible(Control control, bool visible) { quillomat_page_set_visible(PageIndex(control), visible); }

void WebControls::SetEnabled(Control control, bool enabled) { quillomat_page_set_enabled(PageIndex(control), enabled); }

}  // namespace quillomat::web
