#include "start_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "error_message.h"
#include "qt_text.h"

namespace quillomat {
namespace {

using C = Control;

}  // namespace

void DesktopPlatform::MessageBox(std::u16string_view prompt) {
  controls_.ApplyVisibility();
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), ToQString(prompt), QMessageBox::Ok,
                  parent_);
  box.exec();
}

void DesktopPlatform::EndProgram() {
  parent_->close();
  QApplication::quit();
}

void DesktopPlatform::ReportError(std::u16string_view message) {
  controls_.ApplyVisibility();
  QMessageBox::warning(parent_, QApplication::applicationDisplayName(), ToQString(message));
}

StartWindow::StartWindow() {
  for (C box : {C::txtBase1, C::txtResp1, C::txtBase2, C::txtResp2}) window_.textBox(box)->installEventFilter(this);
  Connect();
  Run([this] { form_.Form_Load(); });
}

// Handlers pass their errors out; here, at the edge of Qt's event delivery, they are reported
// and the program carries on with whatever the handler had done.
template <typename Handler>
void StartWindow::Run(Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    platform_.ReportError(ErrorMessage(error));
  }
  controls_.ApplyVisibility();
}

// Alt with a key is an access key, never typing: with its button disabled (or no button for it)
// the key must not land in the input box as a character.
bool StartWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) && !key->text().isEmpty())
      return true;
  }
  return QObject::eventFilter(watched, event);
}

template <typename Sender, typename Signal>
void StartWindow::Bind(Sender* sender, Signal signal, void (StartForm::*handler)()) {
  connect(sender, signal, this, [this, handler] { Run([this, handler] { (form_.*handler)(); }); });
}

void StartWindow::Connect() {
  // Typing, pasting, deleting and the program's own writes all change the text.
  Bind(window_.textBox(C::txtBase1), &QLineEdit::textChanged, &StartForm::txtBase1_Change);
  Bind(window_.textBox(C::txtResp1), &QLineEdit::textChanged, &StartForm::txtResp1_Change);
  Bind(window_.textBox(C::txtBase2), &QLineEdit::textChanged, &StartForm::txtBase2_Change);
  Bind(window_.textBox(C::txtResp2), &QLineEdit::textChanged, &StartForm::txtResp2_Change);

  // An option button reports a click, by mouse or keyboard, after it has been selected.
  Bind(window_.option(C::opt80), &QRadioButton::clicked, &StartForm::opt80_Click);
  Bind(window_.option(C::opt90), &QRadioButton::clicked, &StartForm::opt90_Click);
  Bind(window_.option(C::opt95), &QRadioButton::clicked, &StartForm::opt95_Click);
  Bind(window_.option(C::opt99), &QRadioButton::clicked, &StartForm::opt99_Click);

  Bind(window_.button(C::cmdClear1), &QPushButton::clicked, &StartForm::cmdClear1_Click);
  Bind(window_.button(C::cmdClear2), &QPushButton::clicked, &StartForm::cmdClear2_Click);
  Bind(window_.button(C::cmdClearAll), &QPushButton::clicked, &StartForm::cmdClearAll_Click);
  Bind(window_.button(C::cmdExit), &QPushButton::clicked, &StartForm::cmdExit_Click);

  // A caption change runs inside the write that made it, so errors pass on to the outer handler.
  controls_.OnCaptionChange([this](C label) {
    emit labelChanged(label);
    if (label == C::lblDiffNeedb) form_.lblDiffNeedb_Change();
  });
}

}  // namespace quillomat
