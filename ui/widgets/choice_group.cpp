#include "ui/widgets/choice_group.h"

#include <QAction>

ChoiceGroup::ChoiceGroup(QObject* parent) : QActionGroup(parent) {
  setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
}

void ChoiceGroup::Mark(QAction* item) {
  marked_ = item;
  if (item) {
    item->setChecked(true);
  } else if (QAction* shown = checkedAction()) {
    shown->setChecked(false);
  }
}

void ChoiceGroup::RestoreMarks() {
  Mark(marked_);
}

int ChoiceGroup::CheckedCode() const {
  const QAction* item = checkedAction();
  return item && item->data().isValid() ? item->data().toInt() : -1;
}

QAction* ChoiceGroup::ItemWithCode(int code) const {
  for (QAction* item : actions()) {
    if (item->data().isValid() && item->data().toInt() == code) return item;
  }
  return nullptr;
}
