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
  // A PNG that cannot be read leaves the box empty. A copy drawn at twice the size, beside it
  // as NAME@2x.png, serves screens of twice the density or more.
  explicit PictureBox(const QString& imagePath, QWidget* parent = nullptr);

  // The picture drawn on a screen of the given device pixel ratio; its logical size is the same.
  const QPixmap& Picture(qreal devicePixelRatio = 1) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  mutable QString picture2xPath_;  // until it is read
  mutable QPixmap picture2x_;
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
