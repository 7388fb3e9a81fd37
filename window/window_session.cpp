#include "window_session.h"

#include <exception>
#include <utility>

#include "error_message.h"
#include "evidence_text.h"

namespace quillomat {
namespace {

using C = Control;

// The change handlers of the input boxes, each standing for a change of its box's text.
constexpr std::pair<WindowSession::Handler, Control> kInputChanges[] = {
    {&FormHandlers::txtBase1_Change, C::txtBase1},
    {&FormHandlers::txtResp1_Change, C::txtResp1},
    {&FormHandlers::txtBase2_Change, C::txtBase2},
    {&FormHandlers::txtResp2_Change, C::txtResp2},
};

}  // namespace

WindowSession::WindowSession(FormControls& controls, Desktop& desktop, const ControlsWrapper& wrap)
    : held_(controls, [this](Control label) { CaptionChanged(label); }),
      wrapped_(wrap ? wrap(held_) : nullptr),
      desktop_(desktop),
      handlers_(wrapped_ ? *wrapped_ : held_, *this) {}

void WindowSession::Run(Handler handler) {
  for (const auto& [change, box] : kInputChanges)
    if (handler == change) held_.TextChanged(box);
  bool failed = false;
  ++depth_;
  try {
    (handlers_.*handler)();
    if (depth_ == 1) held_.Apply();
  } catch (const std::exception& error) {
    failed = true;
    ApplyAfterError();
    desktop_.ReportError(ErrorMessage(error));
  }
  if (--depth_ > 0) return;
  current_ = !failed && held_.Shown(C::lblDiffNeedb) && held_.Shown(C::txtSigDiff) && !held_.Shown(C::txtWarnSign);
  if (current_) latest_ = EvidenceInputsOf(held_);
  if (runEnd_) runEnd_();
}

void WindowSession::ApplyAfterError() {
  try {
    held_.Apply();
  } catch (const std::exception&) {
    // The error that stopped the handler is the one reported.
  }
}

void WindowSession::CaptionChanged(Control label) {
  if (label == C::lblDiffNeedb && !held_.Applying()) handlers_.lblDiffNeedb_Change();
}

std::u16string WindowSession::VerdictExplanation() const {
  if (!latest_) return {};
  std::u16string text = EvidenceSentences(EvidenceOf(*latest_));
  if (!current_)
    text.insert(0, u"These are the previous entries' results: the current entries could not be calculated. ");
  return text;
}

void WindowSession::MessageBox(std::u16string_view prompt) {
  held_.Apply();
  desktop_.MessageBox(prompt);
}

}  // namespace quillomat
