#include "ui/dialogs/image_delay_lamp.h"

#include <QPainter>

TImageDelayLamp::TImageDelayLamp(QWidget* parent) : QWidget(parent), brush_(255, 0, 0) {}

void TImageDelayLamp::SetBrushColour(const QColor& colour) {
  if (colour == brush_) return;
  brush_ = colour;
  update();
}

void TImageDelayLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::black);
  painter.setBrush(brush_);
  painter.drawEllipse(rect().adjusted(0, 0, -1, -1));
}
