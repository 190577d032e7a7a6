// The camera link's LinkWindow over the main window and the image delay
// dialog: status texts, lamps, the Read/Write buttons, address, menus.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "ui/choice_group.h"
#include "ui/control_form.h"
#include "ui/control_shape.h"
#include "ui/image_delay_form.h"
#include "ui/lamp_colours.h"
#include "ui/message_box.h"

QString TForm1::StatusText(int panel) const {
  return panel >= 0 && panel < static_cast<int>(StatusPanels.size()) ? StatusPanels[panel]->text()
                                                                     : QString();
}

void TForm1::SetMainStatus(const std::string& text) {
  StatusPanels[3]->setText(QString::fromStdString(text));
}

void TForm1::SetDialogStatus(const std::string& text) {
  if (ImageDelayForm) ImageDelayForm->SetDialogStatus(text);
}

void TForm1::SetLamp(LampColour colour) {
  LightShape->SetBrushColor(LampQColor(colour));
}

LampColour TForm1::Lamp() const {
  return LightShape->BrushColor() == kLampLime ? LampColour::Lime : LampColour::Red;
}

void TForm1::SetDelayLamp(LampColour colour) {
  if (ImageDelayForm) ImageDelayForm->SetDelayLamp(colour);
}

LampColour TForm1::DelayLamp() const {
  // Before the dialog exists its lamp is the main window's.
  return ImageDelayForm ? ImageDelayForm->DelayLamp() : Lamp();
}

void TForm1::SetTransferButtonsEnabled(bool enabled) {
  ReadButton->setEnabled(enabled);
  WriteButton->setEnabled(enabled);
  if (ImageDelayForm) ImageDelayForm->SetTransferButtonsEnabled(enabled);
}

bool TForm1::BaudChecked(uint8_t code) const {
  const QAction* item = baudChoice_->ItemWithCode(code);
  return item && item->isChecked();
}

void TForm1::CheckBaud(uint8_t code) {
  QAction* item = baudChoice_->ItemWithCode(code);
  if (!item) return;
  baudChoice_->Mark(item);
  StatusPanels[1]->setText(QString::fromStdString(BaudRateText(code)));
}

bool TForm1::ProtocolChecked(uint8_t code) const {
  const QAction* item = protocolChoice_->ItemWithCode(code);
  return item && item->isChecked();
}

void TForm1::CheckProtocol(uint8_t code) {
  QAction* item = protocolChoice_->ItemWithCode(code);
  if (!item) return;
  protocolChoice_->Mark(item);
  StatusPanels[2]->setText(QString::fromStdString(ProtocolText(code)));
}

void TForm1::ShowInformation(const std::string& text) {
  ShowNotice(QString::fromStdString(text), this);
}
