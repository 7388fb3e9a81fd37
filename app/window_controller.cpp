#include "window_controller.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "error_message.h"

namespace quillomat {
namespace {

using C = Control;

}  // namespace

WindowController::WindowController(const ControlsWrapper& wrap)
    : wrapped_(wrap ? wrap(widgets_) : nullptr),
      verdict_(window_.Widget(C::txtSigDiff), widgets_),
      handlers_(wrapped_ ? *wrapped_ : widgets_, *this) {
  for (C box : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2})
    window_.TextBox(box)->installEventFilter(&accessKeys_);
  Connect();
  Run([this] { handlers_.Form_Load(); });
}

void WindowController::MessageBox(std::u16string_view prompt) {
  widgets_.ApplyVisibility();
  desktop_.MessageBox(prompt);
}

void WindowController::EndProgram() { desktop_.EndProgram(); }

// Handlers pass their errors out; here, at the edge of Qt's event delivery, they are reported
// and the program carries on with whatever the handler had done. Only the final visibility of
// each control is applied, once the handler is done.
template <typename Handler>
void WindowController::Run(Handler handler) {
  bool failed = false;
  try {
    handler();
  } catch (const std::exception& error) {
    failed = true;
    widgets_.ApplyVisibility();
    desktop_.ReportError(ErrorMessage(error));
  }
  widgets_.ApplyVisibility();
  const bool current = ResultsCurrent(failed);
  copy_.SetAvailable(current);
  verdict_.Update(current);
}

bool WindowController::ResultsCurrent(bool lastRunFailed) const {
  const auto shown = [this](C c) { return window_.Widget(c)->isVisibleTo(&window_); };
  return !lastRunFailed && shown(C::lblDiffNeedb) && shown(C::txtSigDiff) && !shown(C::txtWarnSign);
}

template <typename Sender, typename Signal>
void WindowController::Bind(Sender* sender, Signal signal, void (FormHandlers::*handler)()) {
  connect(sender, signal, this, [this, handler] { Run([this, handler] { (handlers_.*handler)(); }); });
}

void WindowController::Connect() {
  // Typing, pasting, deleting and the program's own writes all change the text.
  Bind(window_.TextBox(C::txtBase1), &QLineEdit::textChanged, &FormHandlers::txtBase1_Change);
  Bind(window_.TextBox(C::txtResp1), &QLineEdit::textChanged, &FormHandlers::txtResp1_Change);
  Bind(window_.TextBox(C::txtBase2), &QLineEdit::textChanged, &FormHandlers::txtBase2_Change);
  Bind(window_.TextBox(C::txtResp2), &QLineEdit::textChanged, &FormHandlers::txtResp2_Change);

  // An option button reports a click, by mouse or keyboard, after it has been selected.
  Bind(window_.Option(C::opt80), &QRadioButton::clicked, &FormHandlers::opt80_Click);
  Bind(window_.Option(C::opt90), &QRadioButton::clicked, &FormHandlers::opt90_Click);
  Bind(window_.Option(C::opt95), &QRadioButton::clicked, &FormHandlers::opt95_Click);
  Bind(window_.Option(C::opt99), &QRadioButton::clicked, &FormHandlers::opt99_Click);

  Bind(window_.Button(C::cmdClear1), &QPushButton::clicked, &FormHandlers::cmdClear1_Click);
  Bind(window_.Button(C::cmdClear2), &QPushButton::clicked, &FormHandlers::cmdClear2_Click);
  Bind(window_.Button(C::cmdClearAll), &QPushButton::clicked, &FormHandlers::cmdClearAll_Click);
  Bind(window_.Button(C::cmdExit), &QPushButton::clicked, &FormHandlers::cmdExit_Click);

  // A caption change runs inside the write that made it, so errors pass on to the outer handler.
  widgets_.OnCaptionChange([this](C label) {
    if (label == C::lblDiffNeedb) handlers_.lblDiffNeedb_Change();
  });
}

}  // namespace quillomat
