#pragma once
// The running window: frmStart with its behaviour wired to the widgets' events. This is the one
// place where signals meet handlers, and where an error that leaves a handler is reported.

#include <QObject>

#include <memory>

#include "frm_start.h"
#include "start_form.h"
#include "widget_controls.h"

namespace quillomat {

// Message boxes and ending the program, on the desktop.
class DesktopPlatform : public Platform {
 public:
  DesktopPlatform(QWidget* parent, WidgetControls& controls) : parent_(parent), controls_(controls) {}
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override;
  // A modal warning naming the problem; the program carries on afterwards.
  void ReportError(std::u16string_view message);

 private:
  QWidget* parent_;
  WidgetControls& controls_;  // brought up to date before a message box paints the window
};

class StartWindow : public QObject {
  Q_OBJECT

 public:
  // Builds the window and runs its load handler; show() it to open it.
  StartWindow();

  FrmStart& window() { return window_; }
  void show() { window_.show(); }

 signals:
  // A label's change event was raised (its handler runs next, inside the caption's write).
  void labelChanged(quillomat::Control label);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  template <typename Handler>
  void Run(Handler handler);
  // Runs the handler, through Run, whenever the sender emits the signal.
  template <typename Sender, typename Signal>
  void Bind(Sender* sender, Signal signal, void (StartForm::*handler)());

  FrmStart window_;
  WidgetControls controls_{window_};
  DesktopPlatform platform_{&window_, controls_};
  StartForm form_{controls_, platform_};
};

}  // namespace quillomat
