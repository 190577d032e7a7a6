#include "ui/image_delay_form.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/qam_protocol.h"
#include "ui/image_delay_lamp.h"

TImageDelayForm::TImageDelayForm(QamProtocol& link, CameraLinkState& state, QWidget* parent)
    : QDialog(parent), link_(link), state_(state) {
  ColToWbComboBox = new QComboBox(this);
  WbToColComboBox = new QComboBox(this);
  WriteImageDelay = new QPushButton(QStringLiteral("Write"), this);
  ReadImageDelay = new QPushButton(QStringLiteral("Read"), this);
  CloseButton = new QPushButton(QStringLiteral("Close"), this);
  ImageDelayShape = new TImageDelayLamp(this);
  StatusInfo = new QLabel(this);
}

void TImageDelayForm::ImageTimeClick() {}
void TImageDelayForm::PrepareToOpen() {}
void TImageDelayForm::SetDialogStatus(const std::string& text) {
  StatusInfo->setText(QString::fromStdString(text));
}
std::string TImageDelayForm::DialogStatus() const {
  return StatusInfo->text().toStdString();
}
void TImageDelayForm::SetDelayLamp(LampColour) {}
LampColour TImageDelayForm::DelayLamp() const {
  return LampColour::Red;
}
void TImageDelayForm::SetTransferButtonsEnabled(bool) {}
void TImageDelayForm::ColToWbComboBoxChange(int) {}
void TImageDelayForm::WbToColComboBoxChange(int) {}
void TImageDelayForm::ReadImageDelayClick() {}
void TImageDelayForm::WriteImageDelayClick() {}
void TImageDelayForm::CloseButtonClick() {}

int DelayPositionOfCode(uint8_t code) {
  return code == kDelayCodeSpecial ? 4 : code;
}
uint8_t DelayCodeOfPosition(int position) {
  return position == 4 ? kDelayCodeSpecial : static_cast<uint8_t>(position);
}
