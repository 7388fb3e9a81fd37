#include "drawn_controls.h"

#include <QPainter>

#include <utility>

#include "resource_image.h"

namespace quillomat {

PictureBox::PictureBox(const QString& imagePath, QWidget* parent)
    : QFrame(parent),
      picture_(QPixmap::fromImage(ReadPng(imagePath))),
      picture2xPath_(WithEnding(imagePath, u"@2x.png")) {
  setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}

// The larger copy is read the first time a dense screen needs it, not at every start-up.
const QPixmap& PictureBox::Picture(qreal devicePixelRatio) const {
  if (devicePixelRatio < 2) return picture_;
  if (!picture2xPath_.isEmpty()) {
    picture2x_ = QPixmap::fromImage(ReadPng(std::exchange(picture2xPath_, QString())));
    picture2x_.setDevicePixelRatio(2);
  }
  return picture2x_.isNull() ? picture_ : picture2x_;
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  // Scaled displays repeat the picture's pixels rather than blur them.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setClipRect(contentsRect());
  painter.drawPixmap(contentsRect().topLeft(), Picture(painter.device()->devicePixelRatioF()));
}

LineShape::LineShape(QLine line, QWidget* parent) : QWidget(parent), line_(line) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(palette().color(foregroundRole()), 1));
  // Through the pixels' centres, so that at any scale the line fills whole pixels.
  painter.drawLine(QLineF(line_).translated(0.5, 0.5));
}

}  // namespace quillomat
