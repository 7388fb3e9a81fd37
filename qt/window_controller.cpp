#include "window_controller.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillomat {
namespace {

using C = Control;

}  // namespace

WindowController::WindowController(const ControlsWrapper& wrap) : session_(widgets_, desktop_, wrap) {
  for (C box : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2})
    window_.TextBox(box)->installEventFilter(&accessKeys_);
  Connect();
  session_.Run(&FormHandlers::Form_Load);
}

template <typename Sender, typename Signal>
void WindowController::Bind(Sender* sender, Signal signal, WindowSession::Handler handler) {
  connect(sender, signal, this, [this, handler] { session_.Run(handler); });
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

  session_.OnRunEnd([this] {
    copy_.SetAvailable(session_.ResultsCurrent());
    verdict_.Update();
  });
}

}  // namespace quillomat
