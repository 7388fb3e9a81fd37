#include "results_copy.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <memory>
#include <vector>

#include "qt_text.h"
#include "results_report.h"
#include "window_widgets.h"

namespace quillomat {

ResultsCopy::ResultsCopy(FrmStart& window, const FormControls& controls)
    : controls_(controls), action_(new QAction(QStringLiteral("Copy Results"), this)) {
  action_->setShortcut(QKeySequence::Copy);
  action_->setShortcutContext(Qt::WindowShortcut);
  action_->setEnabled(false);
  connect(action_, &QAction::triggered, this, &ResultsCopy::Copy);
  // The window's own menu opens wherever no control offers one of its own.
  window.addAction(action_);
  window.setContextMenuPolicy(Qt::ActionsContextMenu);

  for (Control c : {Control::txtBase1, Control::txtResp1, Control::txtBase2, Control::txtResp2}) {
    QLineEdit* box = window.TextBox(c);
    box->installEventFilter(this);
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this, [this, box](QPoint at) { ShowBoxMenu(box, at); });
  }
}

void ResultsCopy::SetAvailable(bool available) { action_->setEnabled(available); }

namespace {

// As QKeyEvent::matches(QKeySequence::Copy), with the desktop's Copy keys asked for once rather than
// at every keystroke.
bool IsCopy(const QKeyEvent* key) {
  static const QList<QKeySequence> kCopyKeys = QKeySequence::keyBindings(QKeySequence::Copy);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  return kCopyKeys.contains(QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key->key()))));
}

}  // namespace

// An input box takes Ctrl+C for itself; it keeps it only while it has text selected to copy.
bool ResultsCopy::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (IsCopy(key) && box != nullptr && !box->hasSelectedText()) {
      key->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void ResultsCopy::Copy() {
  const std::vector<CopyLine> lines = ResultsReport(controls_);
  auto data = std::make_unique<QMimeData>();
  data->setText(ToQString(PlainTextOf(lines)));
  data->setHtml(ToQString(HtmlOf(lines)));
  QApplication::clipboard()->setMimeData(data.release());
}

void ResultsCopy::ShowBoxMenu(QLineEdit* box, QPoint position) {
  const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
  menu->addSeparator();
  menu->addAction(action_);
  menu->exec(box->mapToGlobal(position));
}

}  // namespace quillomat
