#include "first_shown.h"

#include "form_handlers.h"
#include "window_table.h"

namespace quillomat::web {
namespace {

using C = Control;

// The controls as plain data; a box's change runs its change handler, as on the page.
class TableWindow : public FormControls, private Platform {
 public:
  TableWindow() {
    for (const table::ControlRow& row : table::Controls())
      states_[Index(row.control)] = {std::u16string(row.text), !row.Has(table::kHidden), !row.Has(table::kDisabled),
                                     row.Has(table::kSelected)};
  }

  const std::array<ControlState, kControlCount>& Load() {
    handlers_.Form_Load();
    return states_;
  }

  std::u16string Text(Control c) const override { return states_[Index(c)].text; }
  void SetText(Control c, std::u16string_view text) override {
    if (states_[Index(c)].text == text) return;
    states_[Index(c)].text = text;
    switch (c) {
      case C::txtBase1: return handlers_.txtBase1_Change();
      case C::txtResp1: return handlers_.txtResp1_Change();
      case C::txtBase2: return handlers_.txtBase2_Change();
      case C::txtResp2: return handlers_.txtResp2_Change();
      default: return;
    }
  }
  std::u16string Caption(Control c) const override { return states_[Index(c)].text; }
  void SetCaption(Control c, std::u16string_view caption) override {
    if (states_[Index(c)].text == caption) return;
    states_[Index(c)].text = caption;
    if (c == C::lblDiffNeedb) handlers_.lblDiffNeedb_Change();
  }
  bool Value(Control c) const override { return states_[Index(c)].selected; }
  void SetVisible(Control c, bool visible) override { states_[Index(c)].visible = visible; }
  void SetEnabled(Control c, bool enabled) override { states_[Index(c)].enabled = enabled; }

 private:
  // The load handler shows no box and does not end the program.
  void MessageBox(std::u16string_view) override {}
  void EndProgram() override {}

  std::array<ControlState, kControlCount> states_;
  FormHandlers handlers_{*this, *this};
};

}  // namespace

std::array<ControlState, kControlCount> FirstShown() {
  TableWindow window;
  return window.Load();
}

}  // namespace quillomat::web
