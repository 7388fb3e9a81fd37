#pragma once
// The running window: frmStart with its handlers wired to the widgets' events. This is the one
// place where signals meet handlers, and where an error that leaves a handler is reported.

#include <QObject>

#include <functional>
#include <memory>
#include <string_view>

#include "access_key_filter.h"
#include "desktop_platform.h"
#include "form_handlers.h"
#include "results_copy.h"
#include "verdict_explainer.h"
#include "widget_controls.h"
#include "window_widgets.h"

namespace quillomat {

class WindowController : public QObject, private Platform {
  Q_OBJECT

 public:
  // Puts a wrapper between the handlers and the window's controls, for instance one that watches
  // what the handlers do; it forwards to the controls it is given.
  using ControlsWrapper = std::function<std::unique_ptr<FormControls>(FormControls& widgets)>;

  // Builds the window and runs its load handler; Show() it to open it.
  explicit WindowController(const ControlsWrapper& wrap = {});

  FrmStart& Window() { return window_; }
  void Show() { window_.show(); }

 private:
  // The handlers' desktop: what a handler has changed so far is shown before a modal box opens.
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;

  void Connect();
  // The results on screen are the entries' own: calculated by the last run, no warning shown.
  bool ResultsCurrent(bool lastRunFailed) const;
  template <typename Handler>
  void Run(Handler handler);
  // Runs the handler, through Run, whenever the sender emits the signal.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, void (FormHandlers::*handler)());

  FrmStart window_;
  WidgetControls widgets_{window_};
  std::unique_ptr<FormControls> wrapped_;
  DesktopPlatform desktop_{&window_};
  AccessKeyFilter accessKeys_;
  ResultsCopy copy_{window_, widgets_};
  VerdictExplainer verdict_;
  FormHandlers handlers_;
};

}  // namespace quillomat
