// A round lamp shape: a circle filled with its brush colour.
#pragma once

#include <QColor>
#include <QWidget>

class TImageDelayLamp : public QWidget {
  Q_OBJECT

 public:
  explicit TImageDelayLamp(QWidget* parent = nullptr);

  QColor BrushColour() const { return brush_; }
  void SetBrushColour(const QColor& colour);

 protected:
  void paintEvent(class QPaintEvent* event) override;

 private:
  QColor brush_;
};
