#include "start_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "error_message.h"
#include "qt_text.h"

namespace quillomat {
namespace {

using C = Control;

}  // namespace

void DesktopPlatform::MessageBox(std::u16string_view prompt) {
  controls_.ApplyVisibility();
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), ToQString(prompt),
                  QMessageBox::Ok, parent_);
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

void StartWindow::Connect() {
  const auto onTextChanged = [this](C box, void (StartForm::*handler)()) {
    connect(window_.textBox(box), &QLineEdit::textChanged, this, [this, handler] { Run([&] { (form_.*handler)(); }); });
  };
  onTextChanged(C::txtBase1, &StartForm::txtBase1_Change);
  onTextChanged(C::txtResp1, &StartForm::txtResp1_Change);
  onTextChanged(C::txtBase2, &StartForm::txtBase2_Change);
  onTextChanged(C::txtResp2, &StartForm::txtResp2_Change);

  const auto onClicked = [this](C button, void (StartForm::*handler)()) {
    connect(window_.button(button), &QPushButton::clicked, this, [this, handler] { Run([&] { (form_.*handler)(); }); });
  };
  onClicked(C::cmdClear1, &StartForm::cmdClear1_Click);
  onClicked(C::cmdClear2, &StartForm::cmdClear2_Click);
  onClicked(C::cmdClearAll, &StartForm::cmdClearAll_Click);
  onClicked(C::cmdExit, &StartForm::cmdExit_Click);

  // The group reports a click after it has selected the button.
  connect(window_.levelGroup(), &QButtonGroup::idClicked, this, [this](int id) {
    switch (static_cast<C>(id)) {
      case C::opt80: return Run([this] { form_.opt80_Click(); });
      case C::opt90: return Run([this] { form_.opt90_Click(); });
      case C::opt95: return Run([this] { form_.opt95_Click(); });
      case C::opt99: return Run([this] { form_.opt99_Click(); });
      default: return;
    }
  });

  // A caption change runs inside the write that made it, so errors pass on to the outer handler.
  controls_.OnCaptionChange([this](C label) {
    emit labelChanged(label);
    if (label == C::lblDiffNeedb) form_.lblDiffNeedb_Change();
  });
}

}  // namespace quillomat
