#pragma once
// The window's controls as the handlers use them during a run. Nothing paints while a handler
// runs, so only what the window holds when the run is over can ever be seen: the captions,
// visibility and enabled flags that the handlers write are held here, and only the final ones
// reach the widgets, once, when the run is over. A box's text is read from its widget once after
// each change of that box, not at every read. A caption write that changes the held caption
// raises the label's change event inside the write, as the handlers require. It also knows what
// the window shows, whatever the toolkit, from the table's initial state and the writes since.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "form_controls.h"

namespace quillomat {

class HeldControls : public FormControls {
 public:
  // Holds the handlers' writes for `widgets`; `captionChanged` is the change event of a label,
  // raised inside SetCaption whenever the caption changes.
  HeldControls(FormControls& widgets, std::function<void(Control)> captionChanged);

  // The box's widget has changed its text: the next read takes it from the widget. A change that
  // the program's own write makes is known already.
  void TextChanged(Control textBox);
  // Writes to the widgets what the handlers changed since the last call: each caption that ends
  // different from the widget's, the visibility of each control whose visibility was set, and
  // each enabled flag that ends different from the widget's. A widget that refuses a write does
  // not keep the others from theirs: the first such error is thrown once they are written.
  void Apply();
  // While Apply writes the widgets: a caption change a widget reports then has been raised
  // already.
  bool Applying() const { return applying_; }

  // Whether the control is visible as the handlers last set it.
  bool Shown(Control control) const { return shown_[Index(control)]; }

  std::u16string Text(Control textBox) const override;
  void SetText(Control textBox, std::u16string_view text) override;
  std::u16string Caption(Control label) const override;
  void SetCaption(Control label, std::u16string_view caption) override;
  bool Value(Control optionButton) const override { return widgets_.Value(optionButton); }
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override;

 private:
  enum class Property { Text, Caption };
  // The text or caption as the handlers last left it, read from the widget when not known.
  std::u16string& Known(Control control, Property property) const;

  FormControls& widgets_;
  std::function<void(Control)> captionChanged_;
  // A box's text or a label's caption; for a label, its caption as the handlers last set it.
  mutable std::array<std::optional<std::u16string>, kControlCount> texts_;
  // A label's caption as its widget still shows it, while the held one differs.
  std::array<std::optional<std::u16string>, kControlCount> widgetCaptions_;
  std::array<bool, kControlCount> shown_{};
  std::array<std::optional<bool>, kControlCount> visibility_;
  std::array<bool, kControlCount> enabled_{};
  std::array<bool, kControlCount> widgetEnabled_{};
  std::optional<Control> writing_;  // the box whose text the program is writing
  bool applying_ = false;
};

}  // namespace quillomat
