#pragma once
// The window's controls with their visibility held back until a handler run is over. A handler
// that runs to its end paints nothing, so only each control's final visibility can ever be seen;
// applying just that spares the display a hide and a show per re-format. It also knows what the
// window shows, whatever the toolkit, from the table's initial state and the writes since.

#include <array>
#include <optional>

#include "form_controls.h"

namespace quillomat {

class ShownControls : public FormControls {
 public:
  // Forwards everything to `controls` but visibility, which waits for ApplyVisibility().
  explicit ShownControls(FormControls& controls);

  // Shows and hides what the handlers asked for since the last call.
  void ApplyVisibility();
  // Whether the control is visible as the handlers last set it.
  bool Shown(Control control) const { return shown_[Index(control)]; }

  std::u16string Text(Control textBox) const override { return controls_.Text(textBox); }
  void SetText(Control textBox, std::u16string_view text) override { controls_.SetText(textBox, text); }
  std::u16string Caption(Control label) const override { return controls_.Caption(label); }
  void SetCaption(Control label, std::u16string_view caption) override { controls_.SetCaption(label, caption); }
  bool Value(Control optionButton) const override { return controls_.Value(optionButton); }
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override { controls_.SetEnabled(control, enabled); }

 private:
  FormControls& controls_;
  std::array<bool, kControlCount> shown_{};
  std::array<std::optional<bool>, kControlCount> pending_{};
};

}  // namespace quillomat
