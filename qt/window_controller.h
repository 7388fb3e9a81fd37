#pragma once
// The running window: frmStart with its handlers wired to the widgets' events. This is the one
// place where signals meet handlers.

#include <QObject>

#include "access_key_filter.h"
#include "desktop_platform.h"
#include "results_copy.h"
#include "verdict_explainer.h"
#include "widget_controls.h"
#include "window_session.h"
#include "window_widgets.h"

namespace quillomat {

class WindowController : public QObject {
  Q_OBJECT

 public:
  using ControlsWrapper = WindowSession::ControlsWrapper;

  // Builds the window and runs its load handler; Show() it to open it.
  explicit WindowController(const ControlsWrapper& wrap = {});

  FrmStart& Window() { return window_; }
  void Show() { window_.show(); }

 private:
  void Connect();
  // Runs the handler, through the session, whenever the sender emits the signal.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, WindowSession::Handler handler);

  FrmStart window_;
  WidgetControls widgets_{window_};
  DesktopPlatform desktop_{&window_};
  WindowSession session_;
  AccessKeyFilter accessKeys_;
  ResultsCopy copy_{window_, session_.Controls()};
  VerdictExplainer verdict_{window_.Widget(Control::txtSigDiff), session_};
};

}  // namespace quillomat
