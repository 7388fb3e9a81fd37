#include "drawn_controls.h"

#include <QPainter>

namespace quillomat {

PictureBox::PictureBox(const QString& imagePath, QWidget* parent) : QFrame(parent), picture_(imagePath) {
  setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  // Scaled displays repeat the picture's pixels rather than blur them.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setClipRect(contentsRect());
  painter.drawPixmap(contentsRect().topLeft(), picture_);
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
