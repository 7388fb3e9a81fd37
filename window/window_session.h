#pragma once
// The window's handlers as a shell runs them: every event a shell delivers goes through here, so
// that each shell reports errors, holds back what the handlers write until their run is over and
// follows the results the same way.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "form_controls.h"
#include "form_handlers.h"
#include "held_controls.h"
#include "results_report.h"

namespace quillomat {

// What a shell's desktop offers besides the handlers' own message box and ending the program.
class Desktop : public Platform {
 public:
  // A modal box naming a run-time error that left a handler; the program carries on afterwards.
  virtual void ReportError(std::u16string_view message) = 0;
};

class WindowSession : private Platform {
 public:
  // Puts a wrapper between the handlers and the window's controls, for instance one that watches
  // what the handlers do; it forwards to the controls it is given.
  using ControlsWrapper = std::function<std::unique_ptr<FormControls>(FormControls& controls)>;
  using Handler = void (FormHandlers::*)();

  WindowSession(FormControls& controls, Desktop& desktop, const ControlsWrapper& wrap = {});

  // Runs a handler for an event the shell delivered; an input box's change handler stands for a
  // change of that box's text. What the handlers wrote reaches the widgets when the outermost run
  // is over. An error that leaves a handler is reported there, at the edge of the event delivery,
  // once the widgets show what the handler had done, and the program carries on.
  void Run(Handler handler);
  // A label's change event. The session raises it itself, inside the handlers' caption write that
  // makes the change (errors pass on to the handler that made the write); a shell whose widgets
  // report their own caption changes may pass them on here too, and a change made by the session's
  // writing a held caption to its widget has been raised already, so it runs nothing.
  void CaptionChanged(Control label);
  // Runs after every outermost handler run, when the results may have changed.
  void OnRunEnd(std::function<void()> listener) { runEnd_ = std::move(listener); }

  // The results on screen are the entries' own: calculated by the last run, no warning shown.
  bool ResultsCurrent() const { return current_; }
  // How strong the evidence behind the verdict on screen is, in plain words; empty before the
  // first result. Worked out only when asked for.
  std::u16string VerdictExplanation() const;
  // The window's controls as the handlers last left them.
  const HeldControls& Controls() const { return held_; }

 private:
  // What a handler has changed so far is shown before a modal box opens.
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override { desktop_.EndProgram(); }
  // Writes what was held to the widgets after an error, whatever else refuses a write.
  void ApplyAfterError();

  HeldControls held_;
  std::unique_ptr<FormControls> wrapped_;
  Desktop& desktop_;
  FormHandlers handlers_;
  std::function<void()> runEnd_;
  int depth_ = 0;  // of the handler runs in progress, one inside another
  bool current_ = false;
  std::optional<EvidenceInputs> latest_;  // of the last results that were current
};

}  // namespace quillomat
