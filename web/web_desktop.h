#pragma once
// What the program asks of the browser besides its controls: message boxes, error reports and
// ending the program.

#include "window_session.h"

namespace quillomat::web {

class WebDesktop : public Desktop {
 public:
  // The page's box is modal: nothing else on the page takes input until it is answered. The
  // handler goes on at once; nothing the handlers do follows a box.
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;
  void ReportError(std::u16string_view message) override;

  bool Ended() const { return ended_; }

 private:
  bool ended_ = false;
};

}  // namespace quillomat::web
