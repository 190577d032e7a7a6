#include "ui/dialogs/image_delay_form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/qam_protocol.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/lamp_colours.h"
#include "ui/widgets/window_place.h"

namespace {

constexpr int kImageDelayHelpContext = 27;
constexpr int kClientWidth = 384;
constexpr int kClientHeight = 173;

QStringList DelayEntries() {
  QStringList entries;
  for (const std::string& entry : ListEntries(PanelControl::ColToWbComboBox)) {
    entries << QString::fromStdString(entry);
  }
  return entries;
}

}  // namespace

TImageDelayForm::TImageDelayForm(QamProtocol& link, CameraLinkState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), link_(link), state_(state) {
  setObjectName(QStringLiteral("ImageDelayForm"));
  setWindowTitle(QStringLiteral("Delay time set"));
  setSizeGripEnabled(false);

  BuildDelayLists();
  BuildButtons();
  BuildLampAndStatus();
  for (QWidget* control : std::initializer_list<QWidget*>{
           CloseButton, ColToWbComboBox, WbToColComboBox, ReadImageDelay, WriteImageDelay}) {
    SetHelpContext(control, kImageDelayHelpContext);
  }

  // activated: the user's pick only, not the program's selection.
  connect(ColToWbComboBox, &QComboBox::activated, this,
          [this](int position) { ColToWbComboBoxChange(position); });
  connect(WbToColComboBox, &QComboBox::activated, this,
          [this](int position) { WbToColComboBoxChange(position); });
  connect(ReadImageDelay, &QPushButton::clicked, this, [this] { ReadImageDelayClick(); });
  connect(WriteImageDelay, &QPushButton::clicked, this, [this] { WriteImageDelayClick(); });
  connect(CloseButton, &QPushButton::clicked, this, [this] { CloseButtonClick(); });
}

void TImageDelayForm::BuildDelayLists() {
  auto* group = new QGroupBox(QStringLiteral("Delay time set"), this);
  group->setObjectName(QStringLiteral("Delaytime"));
  group->setGeometry(8, 16, 281, 137);
  QFont bold = group->font();
  bold.setBold(true);
  bold.setPixelSize(13);
  group->setFont(bold);

  auto* label1 = new QLabel(QStringLiteral("Color turn to white&black"), group);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->move(56, 24);
  label1->adjustSize();
  ColToWbComboBox = new QComboBox(group);
  ColToWbComboBox->setObjectName(QStringLiteral("ColToWbComboBox"));
  ColToWbComboBox->setGeometry(56, 48, 161, ColToWbComboBox->sizeHint().height());
  auto* label2 = new QLabel(QStringLiteral("White&black turn to color"), group);
  label2->setObjectName(QStringLiteral("Label2"));
  label2->move(56, 88);
  label2->adjustSize();
  WbToColComboBox = new QComboBox(group);
  WbToColComboBox->setObjectName(QStringLiteral("WbToColComboBox"));
  WbToColComboBox->setGeometry(56, 104, 161, WbToColComboBox->sizeHint().height());
  for (QComboBox* list : {ColToWbComboBox, WbToColComboBox}) {
    list->addItems(DelayEntries());
    list->setCurrentIndex(-1);
  }
}

void TImageDelayForm::BuildButtons() {
  WriteImageDelay = new QPushButton(QStringLiteral("Write"), this);
  WriteImageDelay->setObjectName(QStringLiteral("WriteImageDelay"));
  WriteImageDelay->setGeometry(300, 64, 75, 25);
  ReadImageDelay = new QPushButton(QStringLiteral("Read"), this);
  ReadImageDelay->setObjectName(QStringLiteral("ReadImageDelay"));
  ReadImageDelay->setGeometry(300, 94, 75, 25);
  CloseButton = new QPushButton(QStringLiteral("Close"), this);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));
  CloseButton->setGeometry(300, 124, 75, 25);
  for (QPushButton* button : {WriteImageDelay, ReadImageDelay, CloseButton}) {
    button->setAutoDefault(false);
  }
  // Enabled only by the link display update, once the camera has answered.
  WriteImageDelay->setEnabled(false);
  ReadImageDelay->setEnabled(false);
}

void TImageDelayForm::BuildLampAndStatus() {
  ImageDelayShape = new TShape(this);
  ImageDelayShape->setObjectName(QStringLiteral("ImageDelayShape"));
  ImageDelayShape->setGeometry(328, 16, 25, 25);
  ImageDelayShape->SetBrushColor(kLampRed);

  auto* statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("StatusBar"));
  statusBar->setSizeGripEnabled(false);
  StatusInfo = new QLabel(statusBar);
  StatusInfo->setObjectName(QStringLiteral("StatusInfo"));
  StatusInfo->setFixedWidth(50);
  statusBar->addWidget(StatusInfo);
  // The client area of 384 x 173 holds the status bar along its bottom.
  setFixedSize(kClientWidth, kClientHeight);
  const int statusHeight = statusBar->sizeHint().height();
  statusBar->setGeometry(0, kClientHeight - statusHeight, kClientWidth, statusHeight);
}

void TImageDelayForm::PrepareToOpen() {
  ColToWbComboBox->setCurrentIndex(DelayPositionOfCode(state_.ColToWbCode));
  WbToColComboBox->setCurrentIndex(DelayPositionOfCode(state_.WbToColCode));
  SetDialogStatus(std::string());
}

void TImageDelayForm::ImageTimeClick() {
  PrepareToOpen();
  // Modal over the main window; exec's own event loop keeps the link's
  // timers and serial events running.
  setWindowModality(Qt::ApplicationModal);
  CentreOnScreen(this);
  exec();
}

void TImageDelayForm::SetDialogStatus(const std::string& text) {
  StatusInfo->setText(QString::fromStdString(text));
}

std::string TImageDelayForm::DialogStatus() const {
  return StatusInfo->text().toStdString();
}

void TImageDelayForm::SetDelayLamp(LampColour colour) {
  ImageDelayShape->SetBrushColor(LampQColor(colour));
}

LampColour TImageDelayForm::DelayLamp() const {
  return ImageDelayShape->BrushColor() == kLampRed ? LampColour::Red : LampColour::Lime;
}

void TImageDelayForm::SetTransferButtonsEnabled(bool enabled) {
  WriteImageDelay->setEnabled(enabled);
  ReadImageDelay->setEnabled(enabled);
}

void TImageDelayForm::ColToWbComboBoxChange(int position) {
  if (position < 0) return;
  state_.ColToWbCode = DelayCodeOfPosition(position);
}

void TImageDelayForm::WbToColComboBoxChange(int position) {
  if (position < 0) return;
  state_.WbToColCode = DelayCodeOfPosition(position);
}

void TImageDelayForm::ReadImageDelayClick() {
  link_.ReadImageDelayClick();
}

void TImageDelayForm::WriteImageDelayClick() {
  link_.WriteImageDelayClick();
}

void TImageDelayForm::CloseButtonClick() {
  reject();
}
