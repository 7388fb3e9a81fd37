#pragma once
// The program's one window, built from its layout table. It holds no behaviour: handlers are
// wired from outside through the accessors.

#include <QWidget>

#include <array>
#include <vector>

#include "form_controls.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class FrmStart : public QWidget {
  Q_OBJECT

 public:
  explicit FrmStart(QWidget* parent = nullptr);

  QWidget* control(quillomat::Control control) const;
  // The control as its widget class; nullptr if the control is of another kind.
  QLineEdit* textBox(quillomat::Control control) const;
  QLabel* label(quillomat::Control control) const;
  QPushButton* button(quillomat::Control control) const;
  QRadioButton* option(quillomat::Control control) const;
  // The significance levels; a button's id is the Index of its control.
  QButtonGroup* levelGroup() const { return levelGroup_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void setUpWindow();
  void createControls();
  void labelForScreenReaders();
  void orderTabs();
  // Controls that can take the focus, by tab index.
  std::vector<QWidget*> tabStops() const;
  void centreOnScreen();
  QWidget* firstInTabOrder() const;

  std::array<QWidget*, quillomat::kControlCount> controls_{};
  QButtonGroup* levelGroup_;
  bool shownBefore_ = false;
};
