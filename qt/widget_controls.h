#pragma once
// The window's controls behind the interface the behaviour uses: texts, captions, selection,
// visibility and enabled state of the real widgets, looked up by control name.

#include "form_controls.h"

namespace quillomat {

class FrmStart;

class WidgetControls : public FormControls {
 public:
  // A text box raises its change through QLineEdit::textChanged, which the controller connects;
  // a label's change is the session's to raise, which writes a caption here only once it differs.
  explicit WidgetControls(const FrmStart& window) : window_(window) {}

  std::u16string Text(Control textBox) const override;
  void SetText(Control textBox, std::u16string_view text) override;
  std::u16string Caption(Control label) const override;
  void SetCaption(Control label, std::u16string_view caption) override;
  bool Value(Control optionButton) const override;
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override;

 private:
  const FrmStart& window_;
};

}  // namespace quillomat
