#pragma once
// Copy Results: the window's results on the clipboard, one "label<TAB>value" line each (and the
// same lines as an HTML table), from Ctrl+C, the input boxes' context menus and a context menu
// anywhere else on the window. Available only while the results on screen are current.

#include <QObject>

#include "form_controls.h"

class QAction;
class QLineEdit;
class QPoint;

namespace quillomat {

class FrmStart;

class ResultsCopy : public QObject {
  Q_OBJECT

 public:
  // Copies what `controls` show; the action and the menus go on `window`.
  ResultsCopy(FrmStart& window, const FormControls& controls);

  // Results that are stale, warned about or missing are never copied as if current.
  void SetAvailable(bool available);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Copy();
  void ShowBoxMenu(QLineEdit* box, QPoint position);

  const FormControls& controls_;
  QAction* action_;
};

}  // namespace quillomat
