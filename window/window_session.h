#pragma once
// The window's handlers as a shell runs them: every event a shell delivers goes through here, so
// that each shell reports errors, holds back visibility and follows the results the same way.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "form_controls.h"
#include "form_handlers.h"
#include "results_report.h"
#include "shown_controls.h"

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

  // Runs a handler for an event the shell delivered. An error that leaves it is reported there,
  // at the edge of the event delivery, and the program carries on with what the handler had done.
  void Run(Handler handler);
  // A label's change event, raised inside the caption write that made it: errors pass on to the
  // handler that made the write.
  void CaptionChanged(Control label);
  // Runs after every handler run, when the results may have changed.
  void OnRunEnd(std::function<void()> listener) { runEnd_ = std::move(listener); }

  // The results on screen are the entries' own: calculated by the last run, no warning shown.
  bool ResultsCurrent() const { return current_; }
  // How strong the evidence behind the verdict on screen is, in plain words; empty before the
  // first result. Worked out only when asked for.
  std::u16string VerdictExplanation() const;
  // The window's controls with visibility as the handlers last set it.
  const ShownControls& Controls() const { return shown_; }

 private:
  // What a handler has changed so far is shown before a modal box opens.
  void MessageBox(std::u16string_view prompt) override;
  void EndProgram() override { desktop_.EndProgram(); }

  ShownControls shown_;
  std::unique_ptr<FormControls> wrapped_;
  Desktop& desktop_;
  FormHandlers handlers_;
  std::function<void()> runEnd_;
  bool current_ = false;
  std::optional<EvidenceInputs> latest_;  // of the last results that were current
};

}  // namespace quillomat
