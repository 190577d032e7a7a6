// The items of a menu that picks one of several (port, speed, protocol): an
// exclusive group, so only the chosen item carries a mark. The program moves
// the mark; a click only asks, and its handler decides.
#pragma once

#include <QActionGroup>
#include <QPointer>

class ChoiceGroup : public QActionGroup {
  Q_OBJECT

 public:
  explicit ChoiceGroup(QObject* parent);

  // Marks the item (none when null) and remembers it as the choice.
  void Mark(QAction* item);
  // Puts the marks back as the program last set them, undoing what a click
  // on an item did before its handler ran.
  void RestoreMarks();
  // The item that carries `code` as its data, or null.
  QAction* ItemWithCode(int code) const;
  // The code of the marked item, or -1 when none is marked.
  int CheckedCode() const;

 private:
  QPointer<QAction> marked_;
};
