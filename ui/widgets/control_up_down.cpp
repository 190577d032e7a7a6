#include "ui/widgets/control_up_down.h"

#include <QToolButton>

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* arrow : {up_, down_}) {
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAutoRaise(false);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  setFocusPolicy(Qt::TabFocus);
}

void TUpDown::SetPosition(int position) {
  position_ = qBound(min_, position, max_);
}

void TUpDown::SetRange(int minimum, int maximum) {
  min_ = minimum;
  max_ = qMax(minimum, maximum);
  position_ = qBound(min_, position_, max_);
}

void TUpDown::Step(int delta) {
  SetPosition(position_ + delta);
  emit Clicked();
}

void TUpDown::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
