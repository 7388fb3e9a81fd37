#include "form_model.h"

#include "run_time_error.h"

namespace quillomat::testing {

Kind KindOf(Control control) {
  const std::string_view name = ControlName(control);
  if (name.starts_with("txt")) return Kind::TextBox;
  if (name.starts_with("cmd")) return Kind::CommandButton;
  if (name.starts_with("opt")) return Kind::OptionButton;
  if (name.starts_with("Image")) return Kind::Picture;
  if (name.starts_with("Line")) return Kind::Line;
  return Kind::Label;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

FormModel::FormModel() {
  for (std::size_t i = 0; i < kControlCount; ++i) kinds_[i] = KindOf(static_cast<Control>(i));
  for (Control display : {Control::txtSigDiff, Control::txtWarnSign}) {
    StateOf(display).visible = false;
    StateOf(display).enabled = false;
  }
  StateOf(Control::txtWarnSign).text = u"Base has to be higher than Results";
}

void FormModel::OnChange(Control control, std::function<void()> handler) {
  handlers_[Index(control)] = std::move(handler);
}

void FormModel::Select(Control option) {
  for (Control c : {Control::opt80, Control::opt90, Control::opt95, Control::opt99}) StateOf(c).selected = c == option;
}

void FormModel::FailOn(Control control, std::string property) {
  failing_ = control;
  failingProperty_ = std::move(property);
}

void FormModel::Access(Control control, const char* property, std::u16string_view value) const {
  if (!failingProperty_.empty() && control == failing_ && property == failingProperty_) {
    failingProperty_.clear();
    throw ControlAccessError(control, property);
  }
  if (!tracing) return;
  std::string entry = std::string(property) + " " + std::string(ControlName(control));
  if (!value.empty()) entry += " " + Narrow(value);
  trace.push_back(std::move(entry));
}

void FormModel::Access(Control control, const char* property, Kind expected, std::u16string_view value) const {
  if (kinds_[Index(control)] != expected) throw ControlAccessError(control, property);
  Access(control, property, value);
}

void FormModel::Write(Control control, std::u16string_view text) {
  State& s = StateOf(control);
  if (s.text == text) return;
  s.text = text;
  if (const auto& handler = handlers_[Index(control)]) handler();
}

std::u16string FormModel::Text(Control textBox) const {
  Access(textBox, "Text", Kind::TextBox, {});
  return StateOf(textBox).text;
}

void FormModel::SetText(Control textBox, std::u16string_view text) {
  Access(textBox, "SetText", Kind::TextBox, text);
  Write(textBox, text);
}

std::u16string FormModel::Caption(Control label) const {
  Access(label, "Caption", Kind::Label, {});
  return StateOf(label).text;
}

void FormModel::SetCaption(Control label, std::u16string_view caption) {
  Access(label, "SetCaption", Kind::Label, caption);
  Write(label, caption);
}

bool FormModel::Value(Control optionButton) const {
  Access(optionButton, "Value", Kind::OptionButton, {});
  return StateOf(optionButton).selected;
}

void FormModel::SetVisible(Control control, bool visible) {
  Access(control, "SetVisible", visible ? u"1" : u"0");
  StateOf(control).visible = visible;
}

void FormModel::SetEnabled(Control control, bool enabled) {
  Access(control, "SetEnabled", enabled ? u"1" : u"0");
  StateOf(control).enabled = enabled;
}

}  // namespace quillomat::testing
