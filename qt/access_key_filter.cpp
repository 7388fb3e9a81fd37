#include "access_key_filter.h"

#include <QKeyEvent>

namespace quillomat {

bool AccessKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) && !key->text().isEmpty())
      return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace quillomat
