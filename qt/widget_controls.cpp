#include "widget_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "qt_text.h"
#include "run_time_error.h"
#include "window_widgets.h"

namespace quillomat {
namespace {

// The widget of the expected class, or the run-time error of a control without that property.
template <typename Widget>
Widget* Require(Widget* widget, Control control, const char* property) {
  if (widget == nullptr) throw ControlAccessError(control, property);
  return widget;
}

}  // namespace

std::u16string WidgetControls::Text(Control textBox) const {
  return Require(window_.TextBox(textBox), textBox, "Text")->text().toStdU16String();
}

void WidgetControls::SetText(Control textBox, std::u16string_view text) {
  Require(window_.TextBox(textBox), textBox, "Text")->setText(ToQString(text));
}

std::u16string WidgetControls::Caption(Control label) const {
  return Require(window_.Label(label), label, "Caption")->text().toStdU16String();
}

void WidgetControls::SetCaption(Control label, std::u16string_view caption) {
  Require(window_.Label(label), label, "Caption")->setText(ToQString(caption));
}

bool WidgetControls::Value(Control optionButton) const {
  return Require(window_.Option(optionButton), optionButton, "Value")->isChecked();
}

void WidgetControls::SetVisible(Control control, bool visible) {
  Require(window_.Widget(control), control, "Visible")->setVisible(visible);
}

void WidgetControls::SetEnabled(Control control, bool enabled) {
  Require(window_.Widget(control), control, "Enabled")->setEnabled(enabled);
}

}  // namespace quillomat
