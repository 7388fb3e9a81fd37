#include "window_session.h"

#include <exception>

#include "error_message.h"
#include "evidence_text.h"

namespace quillomat {

WindowSession::WindowSession(FormControls& controls, Desktop& desktop, const ControlsWrapper& wrap)
    : shown_(controls),
      wrapped_(wrap ? wrap(shown_) : nullptr),
      desktop_(desktop),
      handlers_(wrapped_ ? *wrapped_ : shown_, *this) {}

void WindowSession::Run(Handler handler) {
  bool failed = false;
  try {
    (handlers_.*handler)();
  } catch (const std::exception& error) {
    failed = true;
    shown_.ApplyVisibility();
    desktop_.ReportError(ErrorMessage(error));
  }
  shown_.ApplyVisibility();
  current_ = !failed && shown_.Shown(Control::lblDiffNeedb) && shown_.Shown(Control::txtSigDiff) &&
             !shown_.Shown(Control::txtWarnSign);
  if (current_) latest_ = EvidenceInputsOf(shown_);
  if (runEnd_) runEnd_();
}

void WindowSession::CaptionChanged(Control label) {
  if (label == Control::lblDiffNeedb) handlers_.lblDiffNeedb_Change();
}

std::u16string WindowSession::VerdictExplanation() const {
  if (!latest_) return {};
  std::u16string text = EvidenceSentences(EvidenceOf(*latest_));
  if (!current_)
    text.insert(0, u"These are the previous entries' results: the current entries could not be calculated. ");
  return text;
}

void WindowSession::MessageBox(std::u16string_view prompt) {
  shown_.ApplyVisibility();
  desktop_.MessageBox(prompt);
}

}  // namespace quillomat
