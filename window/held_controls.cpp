#include "held_controls.h"

#include <exception>
#include <utility>

#include "window_table.h"

namespace quillomat {

HeldControls::HeldControls(FormControls& widgets, std::function<void(Control)> captionChanged)
    : widgets_(widgets), captionChanged_(std::move(captionChanged)) {
  for (const table::ControlRow& row : table::Controls()) {
    shown_[Index(row.control)] = !row.Has(table::kHidden);
    enabled_[Index(row.control)] = widgetEnabled_[Index(row.control)] = !row.Has(table::kDisabled);
  }
}

std::u16string& HeldControls::Known(Control control, Property property) const {
  std::optional<std::u16string>& known = texts_[Index(control)];
  if (!known) known = property == Property::Text ? widgets_.Text(control) : widgets_.Caption(control);
  return *known;
}

void HeldControls::TextChanged(Control textBox) {
  if (writing_ != textBox) texts_[Index(textBox)].reset();
}

std::u16string HeldControls::Text(Control textBox) const { return Known(textBox, Property::Text); }

// A write of the text a box already holds changes nothing and raises nothing, as typing the same
// text would not. The widget takes any other at once: its change event runs inside the write.
void HeldControls::SetText(Control textBox, std::u16string_view text) {
  std::u16string& known = Known(textBox, Property::Text);
  if (known == text) return;
  known = text;
  const std::optional<Control> outer = std::exchange(writing_, textBox);
  try {
    widgets_.SetText(textBox, text);
  } catch (...) {
    writing_ = outer;
    texts_[Index(textBox)].reset();
    throw;
  }
  writing_ = outer;
}

std::u16string HeldControls::Caption(Control label) const { return Known(label, Property::Caption); }

void HeldControls::SetCaption(Control label, std::u16string_view caption) {
  std::u16string& held = Known(label, Property::Caption);
  if (held == caption) return;
  std::optional<std::u16string>& widgetCaption = widgetCaptions_[Index(label)];
  if (!widgetCaption) widgetCaption = std::move(held);
  held = caption;
  if (captionChanged_) captionChanged_(label);
}

void HeldControls::SetVisible(Control control, bool visible) {
  visibility_[Index(control)] = visible;
  shown_[Index(control)] = visible;
}

void HeldControls::SetEnabled(Control control, bool enabled) { enabled_[Index(control)] = enabled; }

void HeldControls::Apply() {
  applying_ = true;
  std::exception_ptr firstError;
  const auto attempt = [&firstError](auto&& write) {
    try {
      write();
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
  };
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const auto control = static_cast<Control>(i);
    if (const auto widgetCaption = std::exchange(widgetCaptions_[i], std::nullopt);
        widgetCaption && *widgetCaption != *texts_[i]) {
      attempt([&] {
        try {
          widgets_.SetCaption(control, *texts_[i]);
        } catch (...) {
          texts_[i].reset();  // what the widget shows now is read from it again
          throw;
        }
      });
    }
    if (const auto visible = std::exchange(visibility_[i], std::nullopt))
      attempt([&] { widgets_.SetVisible(control, *visible); });
    if (enabled_[i] != widgetEnabled_[i]) {
      attempt([&] {
        widgets_.SetEnabled(control, enabled_[i]);
        widgetEnabled_[i] = enabled_[i];
      });
    }
  }
  applying_ = false;
  if (firstError) std::rethrow_exception(firstError);
}

}  // namespace quillomat
