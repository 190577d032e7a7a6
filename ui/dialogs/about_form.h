// The about box: created for one showing and freed when it closes.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  void OKButtonClick();

  QLabel* Label1 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* OKButton = nullptr;
};

// about2Click of the main window: a fresh about box, shown modally, freed on return.
void RunAboutBox(QWidget* parent = nullptr);
