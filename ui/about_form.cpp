#include "ui/about_form.h"

#include <QLabel>
#include <QPushButton>

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {}

void TAboutForm::OKButtonClick() {
  accept();
}

void RunAboutBox(QWidget* parent) {
  TAboutForm box(parent);
  box.exec();
}
