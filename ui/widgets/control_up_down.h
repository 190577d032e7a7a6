// An up-down control: two arrow buttons stepping a position within a range,
// without wrap-around. Clicked is raised after every arrow press, also when
// the position stayed at its end.
#pragma once

#include <QWidget>

class QToolButton;

class TUpDown : public QWidget {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent = nullptr);

  int Position() const { return position_; }
  // Kept within Min..Max; raises no Clicked.
  void SetPosition(int position);
  void SetRange(int minimum, int maximum);
  int Min() const { return min_; }
  int Max() const { return max_; }

  // The arrow buttons, for tests that click them.
  QToolButton* UpArrow() const { return up_; }
  QToolButton* DownArrow() const { return down_; }

 signals:
  void Clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int delta);

  QToolButton* up_;
  QToolButton* down_;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};
