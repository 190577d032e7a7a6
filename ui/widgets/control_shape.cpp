#include "ui/widgets/control_shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void TShape::SetBrushColor(const QColor& colour) {
  if (colour == brush_) return;
  brush_ = colour;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(brush_);
  const int side = qMin(width(), height()) - 1;
  painter.drawEllipse(QRectF(0.5, 0.5, side, side));
}
