#pragma once
// Alt with a key is an access key, never typing: with its button disabled, or no button for it,
// the key must not land in an input box as a character. Install it on each input box.

#include <QObject>

namespace quillomat {

class AccessKeyFilter : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillomat
