// Quillomat in the browser: the window frmStart on the page's elements. The page (page.mjs) loads
// this program, which binds the window's elements and runs the load handler, and then delivers the
// page's events to it; the program stays loaded for the page's life.
#include <emscripten/emscripten.h>

#include "web_controller.h"

namespace {

quillomat::web::WebController* controller = nullptr;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void quillomat_event(int control, int event) {
  if (controller != nullptr && control >= 0 && control < static_cast<int>(quillomat::kControlCount))
    controller->Deliver(static_cast<quillomat::Control>(control), event);
}

// Whether results went onto the clipboard of the copy the page is handling.
EMSCRIPTEN_KEEPALIVE int quillomat_copy() { return controller != nullptr && controller->CopyResults() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void quillomat_explain() {
  if (controller != nullptr) controller->Explain();
}

}  // extern "C"

int main() {
  static quillomat::web::WebController window;
  controller = &window;
  return 0;
}
