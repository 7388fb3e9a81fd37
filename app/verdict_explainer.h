#pragma once
// The verdict box's tooltip and accessible description: how strong the evidence behind the
// verdict is, in plain words. Worked out only when asked for, by a tooltip or a screen reader,
// so that typing pays nothing for it.

#include <QAccessible>
#include <QObject>
#include <QString>

#include <optional>

#include "form_controls.h"
#include "results_report.h"

class QWidget;

namespace quillomat {

class VerdictExplainer : public QObject, private QAccessible::ActivationObserver {
  Q_OBJECT

 public:
  VerdictExplainer(QWidget* verdictBox, const FormControls& controls);
  ~VerdictExplainer() override;

  // After every handler run. While the results on screen are not those of the entries (a warning,
  // a calculation stopped by an error) the verdict box still shows the previous verdict, and its
  // explanation says so.
  void Update(bool resultsCurrent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void accessibilityActiveChanged(bool active) override;
  void Refresh();

  QWidget* box_;
  const FormControls& controls_;
  std::optional<EvidenceInputs> latest_;  // of the last results that were current
  bool current_ = false;
  bool screenReader_ = QAccessible::isActive();  // kept up to date by Qt's activation notices
  QString shown_;
};

}  // namespace quillomat
