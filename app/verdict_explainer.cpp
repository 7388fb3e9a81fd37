#include "verdict_explainer.h"

#include <QEvent>
#include <QWidget>

#include "qt_text.h"

namespace quillomat {

VerdictExplainer::VerdictExplainer(QWidget* verdictBox, const FormControls& controls)
    : box_(verdictBox), controls_(controls) {
  box_->installEventFilter(this);
  QAccessible::installActivationObserver(this);
}

VerdictExplainer::~VerdictExplainer() { QAccessible::removeActivationObserver(this); }

void VerdictExplainer::Update(bool resultsCurrent) {
  current_ = resultsCurrent;
  if (resultsCurrent) latest_ = EvidenceInputsOf(controls_);
  if (screenReader_) Refresh();
}

bool VerdictExplainer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) Refresh();
  return QObject::eventFilter(watched, event);
}

void VerdictExplainer::accessibilityActiveChanged(bool active) {
  screenReader_ = active;
  if (active) Refresh();
}

void VerdictExplainer::Refresh() {
  QString text;
  if (latest_) {
    text = ToQString(EvidenceSentences(EvidenceOf(*latest_)));
    if (!current_)
      text.prepend(
          QStringLiteral("These are the previous entries' results: the current entries could not be calculated. "));
  }
  if (text == shown_) return;
  shown_ = text;
  box_->setToolTip(WrappedToolTip(text));
  box_->setAccessibleDescription(text);
}

}  // namespace quillomat
