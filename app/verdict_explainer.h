#pragma once
// The verdict box's tooltip and accessible description: how strong the evidence behind the
// verdict is, in plain words.

#include <QString>

#include "form_controls.h"

class QWidget;

namespace quillomat {

class VerdictExplainer {
 public:
  VerdictExplainer(QWidget* verdictBox, const FormControls& controls) : box_(verdictBox), controls_(controls) {}

  // After every handler run. While the results on screen are not those of the entries (a warning,
  // a calculation stopped by an error) the verdict box still shows the previous verdict, and its
  // explanation says so.
  void Update(bool resultsCurrent);

 private:
  QWidget* box_;
  const FormControls& controls_;
  QString latest_;  // for the last results that were current
  QString shown_;
};

}  // namespace quillomat
