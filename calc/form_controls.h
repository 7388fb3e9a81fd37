#pragma once
// The window's controls as the logic sees them: a name per control and the handful of properties
// the logic reads and writes. The program implements it over real widgets; tests over a model.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillomat {

// Every control of the window, in the order the window creates them.
// clang-format off
enum class Control : std::uint8_t {
  txtSigDiff, txtWarnSign, opt95, opt90, opt99, opt80, cmdClearAll, cmdClear2, cmdClear1, cmdExit,
  txtResp2, txtBase2, txtResp1, txtBase1, Label4, Label1, Image1, Label3, Label2, lblSigLevel,
  Line1, lblWAvg, lblWAvgb, lblActDiffb, lblActDiff, lblDiffNeedb, lblDiffNeed, lblPer2b, lblPer2,
  lblPer1, lblPer1b, lblResp2, lblBase2, lblResp1, lblTitle, lblBase1,
};
// clang-format on
inline constexpr std::size_t kControlCount = 36;

// The control's name, which is also its widget's objectName ("txtBase1").
std::string_view ControlName(Control control);

// Index of a control in creation order, for per-control arrays.
constexpr std::size_t Index(Control control) { return static_cast<std::size_t>(control); }

class FormControls {
 public:
  virtual ~FormControls() = default;

  // Text of a text box. Setting a different text raises the box's change event before returning.
  virtual std::u16string Text(Control textBox) const = 0;
  virtual void SetText(Control textBox, std::u16string_view text) = 0;

  // Caption of a label. Setting a different caption raises the label's change event before
  // returning; setting the caption it already holds raises nothing.
  virtual std::u16string Caption(Control label) const = 0;
  virtual void SetCaption(Control label, std::u16string_view caption) = 0;

  // Whether an option button is selected.
  virtual bool Value(Control optionButton) const = 0;

  virtual void SetVisible(Control control, bool visible) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;

 protected:
  FormControls() = default;
  FormControls(const FormControls&) = default;
  FormControls& operator=(const FormControls&) = default;
};

}  // namespace quillomat
