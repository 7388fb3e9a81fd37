#pragma once
// The window's controls behind the interface the behaviour uses: texts, captions, selection,
// visibility and enabled state of the real child windows, looked up by control name.

#include "form_controls.h"

namespace quillomat::win32 {

class FrmStart;

class Win32Controls : public FormControls {
 public:
  // An EDIT raises its change itself: SetWindowTextW sends EN_CHANGE before it returns. A label's
  // change is the session's to raise, which writes a caption here only once it differs.
  explicit Win32Controls(const FrmStart& window) : window_(window) {}

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

}  // namespace quillomat::win32
