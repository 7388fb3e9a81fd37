#pragma once
// The running window: frmStart with its handlers wired to the page's events. Deliver is the one
// place where the page's events meet the handlers.

#include "web_controls.h"
#include "web_desktop.h"
#include "window_session.h"

namespace quillomat::web {

class WebController {
 public:
  // Binds the page's elements to the controls and runs the load handler.
  explicit WebController(const WindowSession::ControlsWrapper& wrap = {});
  WebController(const WebController&) = delete;
  WebController& operator=(const WebController&) = delete;

  // An event of the page (kPageInput, kPageClick) on the control; nothing once the program ended.
  void Deliver(Control control, int event);
  // Copy Results: puts the results on the page's clipboard, only while they are current.
  bool CopyResults() const;
  // Hands the page the verdict's explanation, worked out now.
  void Explain() const;

  const WindowSession& Session() const { return session_; }

 private:
  WebControls controls_;
  WebDesktop desktop_;
  WindowSession session_;
};

}  // namespace quillomat::web
