#pragma once
// The behaviour of the window frmStart: its event handlers and private procedures, acting on the
// controls by name. It knows nothing of Qt; the window controller wires the widgets' events to
// these handlers.

#include <cstdint>
#include <string_view>

#include "calculate.h"
#include "form_controls.h"

namespace quillomat {

// What the window needs from the desktop besides its controls.
class Platform {
 public:
  virtual ~Platform() = default;
  // A modal message box with the prompt, one OK button, no icon and the application's title.
  virtual void MessageBox(std::u16string_view prompt) = 0;
  virtual void EndProgram() = 0;

 protected:
  Platform() = default;
  Platform(const Platform&) = default;
  Platform& operator=(const Platform&) = default;
};

// Which pairs of input boxes hold text, as EmptyBoxes finds it.
enum class FillState : std::uint8_t { AllEmpty = 1, FirstPairOnly = 2, SecondPairOnly = 3, BothPairs = 4 };

inline constexpr char16_t kInsertAllNumbers[] = u"Please insert all numbers first";

class FormHandlers {
 public:
  FormHandlers(FormControls& controls, Platform& platform);

  void Form_Load();

  // Like handlers are identical: none looks at which control raised it.
  void txtBase1_Change() { InputChange(); }
  void txtResp1_Change() { InputChange(); }
  void txtBase2_Change() { InputChange(); }
  void txtResp2_Change() { InputChange(); }

  void opt80_Click() { LevelClick(); }
  void opt90_Click() { LevelClick(); }
  void opt95_Click() { LevelClick(); }
  void opt99_Click() { LevelClick(); }

  void lblDiffNeedb_Change();

  void cmdClear1_Click();
  void cmdClear2_Click();
  void cmdClearAll_Click();
  void cmdExit_Click();

 private:
  void InputChange();
  void LevelClick();
  void EmptyBoxes(Control txt1, Control txt2, Control txt3, Control txt4);
  void HideLabel(Control lblName);
  bool AllFilled() const;
  bool HasText(Control textBox) const;

  FormControls& controls_;
  Platform& platform_;
  Singles singles_;
};

}  // namespace quillomat
