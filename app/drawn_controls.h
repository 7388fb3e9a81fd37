#pragma once
// The two controls that Qt has no widget for: a picture shown unscaled in a sunken border, and a
// straight line.

#include <QFrame>
#include <QLine>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace quillomat {

class PictureBox : public QFrame {
  Q_OBJECT

 public:
  // An image that cannot be read leaves the box empty.
  explicit PictureBox(const QString& imagePath, QWidget* parent = nullptr);

  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

class LineShape : public QWidget {
  Q_OBJECT

 public:
  // The line's endpoints relative to the widget, which must span them.
  explicit LineShape(QLine line, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLine line_;
};

}  // namespace quillomat
