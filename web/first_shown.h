#pragma once
// The window as it is first shown: its controls as the table creates them, after the load handler
// has run on them. The page is written in this state, so that what the browser paints before the
// program has loaded is what the program then shows.

#include <array>
#include <string>

#include "form_controls.h"

namespace quillomat::web {

struct ControlState {
  std::u16string text;  // a box's text, a label's or button's caption
  bool visible, enabled, selected;
};

std::array<ControlState, kControlCount> FirstShown();

}  // namespace quillomat::web
