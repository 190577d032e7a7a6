#include "ui/key_board_form.h"

#include <QLineEdit>
#include <QPushButton>

TKeyBoardForm::TKeyBoardForm(QLineEdit* idEdit, QWidget* parent)
    : QWidget(parent, Qt::Window), idEdit_(idEdit) {}

void TKeyBoardForm::ShowKeyBoard() {
  show();
}

QPushButton* TKeyBoardForm::Button(const QString& name) const {
  return findChild<QPushButton*>(name);
}

void TKeyBoardForm::InsertCharacter(QChar) {}
void TKeyBoardForm::Button_RetClick() {}
void TKeyBoardForm::Button_DelClick() {}
void TKeyBoardForm::FormMouseMove() {}
void TKeyBoardForm::mouseMoveEvent(QMouseEvent*) {}
void TKeyBoardForm::showEvent(QShowEvent*) {}
void TKeyBoardForm::FocusIdEdit() {}
