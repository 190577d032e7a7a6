#include "ui/dialogs/about_form.h"

#include <QLabel>
#include <QPushButton>

#include "ui/widgets/window_place.h"
#include "version/zelta_version.h"

namespace {

QLabel* BoldLabel(const QString& text, int pixelSize, int left, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = parent->font();
  font.setBold(true);
  if (pixelSize > 0) font.setPixelSize(pixelSize);
  label->setFont(font);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About ZELTA"));
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  setFixedSize(297, 119);

  Label1 = BoldLabel(QStringLiteral("ZELTA"), 32, 88, 24, this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label5 = BoldLabel(QStringLiteral("ZELTA"), 13, 112, 72, this);
  Label5->setObjectName(QStringLiteral("Label5"));
  Label2 = BoldLabel(QStringLiteral("Version :" ZELTA_VERSION), 0, 96, 96, this);
  Label2->setObjectName(QStringLiteral("Label2"));
  // The picture frame holds no picture.
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(40, 24, 41, 41);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setScaledContents(false);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(208, 64, 75, 25);
  connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
}

void TAboutForm::OKButtonClick() {
  accept();
}

void RunAboutBox(QWidget* parent) {
  // A fresh box for each showing, freed when it returns.
  TAboutForm box(parent);
  CentreOnScreen(&box);
  box.exec();
}
