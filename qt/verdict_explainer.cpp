#include "verdict_explainer.h"

#include <QEvent>
#include <QWidget>

#include "qt_text.h"
#include "tool_tip_text.h"
#include "window_session.h"

namespace quillomat {

VerdictExplainer::VerdictExplainer(QWidget* verdictBox, const WindowSession& session)
    : box_(verdictBox), session_(session) {
  box_->installEventFilter(this);
  QAccessible::installActivationObserver(this);
}

VerdictExplainer::~VerdictExplainer() { QAccessible::removeActivationObserver(this); }

void VerdictExplainer::Update() {
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
  const std::u16string explanation = session_.VerdictExplanation();
  const QString text = ToQString(explanation);
  if (text == shown_) return;
  shown_ = text;
  box_->setToolTip(ToQString(OneSentenceALine(explanation)));
  box_->setAccessibleDescription(text);
}

}  // namespace quillomat
