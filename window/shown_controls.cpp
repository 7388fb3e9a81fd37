#include "shown_controls.h"

#include <utility>

#include "window_table.h"

namespace quillomat {

ShownControls::ShownControls(FormControls& controls) : controls_(controls) {
  for (const table::ControlRow& row : table::Controls()) shown_[Index(row.control)] = !row.Has(table::kHidden);
}

void ShownControls::SetVisible(Control control, bool visible) {
  pending_[Index(control)] = visible;
  shown_[Index(control)] = visible;
}

void ShownControls::ApplyVisibility() {
  for (std::size_t i = 0; i < kControlCount; ++i) {
    if (const auto visible = std::exchange(pending_[i], std::nullopt))
      controls_.SetVisible(static_cast<Control>(i), *visible);
  }
}

}  // namespace quillomat
