#pragma once
// The window's controls behind the interface the behaviour uses: texts, captions, selection,
// visibility and enabled state of the page's elements.

#include <functional>

#include "form_controls.h"

namespace quillomat::web {

class WebControls : public FormControls {
 public:
  // Runs inside SetText, before it returns, whenever the program's write changes a box's text: a
  // page raises its input event for the user's changes only. (A label's change is the session's to
  // raise.)
  void OnTextChange(std::function<void(Control)> handler) { textChanged_ = std::move(handler); }

  std::u16string Text(Control textBox) const override;
  void SetText(Control textBox, std::u16string_view text) override;
  std::u16string Caption(Control label) const override;
  void SetCaption(Control label, std::u16string_view caption) override;
  bool Value(Control optionButton) const override;
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override;

 private:
  std::function<void(Control)> textChanged_;
};

}  // namespace quillomat::web
