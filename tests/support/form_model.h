#pragma once
// An in-memory window: the controls' properties as plain data, change events run synchronously
// inside the write that changed a text, and an optional trace of every property access.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "form_controls.h"

namespace quillomat::testing {

enum class Kind { TextBox, Label, CommandButton, OptionButton, Picture, Line };

// The kind of a control, from its name's prefix ("txt", "lbl"/"Label", "cmd", "opt").
Kind KindOf(Control control);

class FormModel : public FormControls {
 public:
  struct State {
    std::u16string text;  // Text of a text box, Caption of a label
    bool visible = true;
    bool enabled = true;
    bool selected = false;
  };

  // Every control empty, visible and enabled, no level selected; the two display boxes hidden
  // and disabled, the warning box holding its fixed text.
  FormModel();

  // Runs `handler` inside SetText/SetCaption of `control` whenever its text changes.
  void OnChange(Control control, std::function<void()> handler);
  // Selects one option button and clears the others, as a click on it would.
  void Select(Control option);
  // The next access of `property` on `control` throws ControlAccessError, as a control that
  // refuses it would; properties are named as in the trace ("Text", "SetCaption", ...).
  void FailOn(Control control, std::string property);

  State& StateOf(Control control) { return states_[Index(control)]; }
  const State& StateOf(Control control) const { return states_[Index(control)]; }

  // When tracing, each access appends "Property control[ value]", e.g. "SetCaption lblPer1b 0.25".
  bool tracing = false;
  mutable std::vector<std::string> trace;

  std::u16string Text(Control textBox) const override;
  void SetText(Control textBox, std::u16string_view text) override;
  std::u16string Caption(Control label) const override;
  void SetCaption(Control label, std::u16string_view caption) override;
  bool Value(Control optionButton) const override;
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override;

 private:
  void Access(Control control, const char* property, Kind expected, std::u16string_view value) const;
  void Access(Control control, const char* property, std::u16string_view value) const;
  void Write(Control control, std::u16string_view text);

  std::array<Kind, kControlCount> kinds_{};
  std::array<State, kControlCount> states_;
  std::array<std::function<void()>, kControlCount> handlers_;
  mutable Control failing_ = Control::Image1;
  mutable std::string failingProperty_;
};

// UTF-16 text as ASCII/UTF-8 for messages and traces.
std::string Narrow(std::u16string_view text);

}  // namespace quillomat::testing
