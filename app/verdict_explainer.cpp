#include "verdict_explainer.h"

#include <QWidget>

#include "qt_text.h"
#include "results_report.h"

namespace quillomat {

void VerdictExplainer::Update(bool resultsCurrent) {
  if (resultsCurrent) latest_ = ToQString(EvidenceSentences(EvidenceOf(controls_)));
  const QString text =
      resultsCurrent || latest_.isEmpty()
          ? latest_
          : QStringLiteral("These are the previous entries' results: the current entries could not be calculated. ") +
                latest_;
  if (text == shown_) return;
  shown_ = text;
  box_->setToolTip(text.isEmpty() ? text : WrappedToolTip(text));
  box_->setAccessibleDescription(text);
}

}  // namespace quillomat
