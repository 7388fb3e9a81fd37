#pragma once
// The text a control shows, whatever its widget class.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace quillomat::testing {

inline QString ShownText(const QWidget* widget) {
  if (auto* box = qobject_cast<const QLineEdit*>(widget)) return box->text();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  return {};
}

inline void ShowText(QWidget* widget, const QString& text) {
  if (auto* box = qobject_cast<QLineEdit*>(widget)) box->setText(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
}

}  // namespace quillomat::testing
