#pragma once
// The program's one window, frmStart, built from the window table: widgets only, no behaviour.
// The controller wires the handlers to the widgets through the accessors.

#include <QWidget>

#include <array>
#include <vector>

#include "form_controls.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillomat {

class FrmStart : public QWidget {
  Q_OBJECT

 public:
  explicit FrmStart(QWidget* parent = nullptr);

  QWidget* Widget(Control control) const;
  // The control as its widget class; nullptr if the control is of another kind.
  QLineEdit* TextBox(Control control) const;
  QLabel* Label(Control control) const;
  QPushButton* Button(Control control) const;
  QRadioButton* Option(Control control) const;
  // The significance levels; a button's id is the Index of its control.
  QButtonGroup* LevelGroup() const { return levelGroup_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetUpWindow();
  void CreateControls();
  // Accessible names and descriptions, caption buddies and tooltips.
  void ExplainControls();
  void OrderTabs();
  // Controls that can take the focus, by tab index.
  std::vector<QWidget*> TabStops() const;
  void CentreOnScreen();
  QWidget* FirstInTabOrder() const;

  std::array<QWidget*, kControlCount> controls_{};
  QButtonGroup* levelGroup_;
  bool shownBefore_ = false;
};

}  // namespace quillomat
