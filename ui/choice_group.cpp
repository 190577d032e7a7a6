#include "ui/choice_group.h"

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

QAction* ChoiceGroup::ItemWithCode(int code) const {
  for (QAction* item : actions()) {
    if (item->data().isValid() && item->data().toInt() == code) return item;
  }
  return nullptr;
}
