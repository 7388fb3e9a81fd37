#pragma once
// The verdict box's tooltip and accessible description: how strong the evidence behind the
// verdict is, in plain words. Worked out only when asked for, by a tooltip or a screen reader,
// so that typing pays nothing for it.

#include <QAccessible>
#include <QObject>
#include <QString>

class QWidget;

namespace quillomat {

class WindowSession;

class VerdictExplainer : public QObject, private QAccessible::ActivationObserver {
  Q_OBJECT

 public:
  VerdictExplainer(QWidget* verdictBox, const WindowSession& session);
  ~VerdictExplainer() override;

  // After every handler run.
  void Update();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void accessibilityActiveChanged(bool active) override;
  void Refresh();

  QWidget* box_;
  const WindowSession& session_;
  bool screenReader_ = QAccessible::isActive();  // kept up to date by Qt's activation notices
  QString shown_;
};

}  // namespace quillomat
