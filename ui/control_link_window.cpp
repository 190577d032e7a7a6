// The camera link's LinkWindow over the main window and the image delay
// dialog: status texts, lamps, the Read/Write buttons, address, menus.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/camera_items.h"
#include "ui/choice_group.h"
#include "ui/control_form.h"
#include "ui/control_shape.h"
#include "ui/image_delay_form.h"
#include "ui/message_box.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

}  // namespace

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
  LightShape->SetBrushColor(colour == LampColour::Lime ? kLime : kRed);
}

LampColour TForm1::Lamp() const {
  return LightShape->BrushColor() == kLime ? LampColour::Lime : LampColour::Red;
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

QAction* TForm1::BaudItem(uint8_t code) const {
  switch (code) {
    case kBaudCode1200:
      return BR1200;
    case kBaudCode2400:
      return BR2400;
    case kBaudCode4800:
      return BR4800;
    case kBaudCode9600:
      return BR9600;
    default:
      return nullptr;
  }
}

QAction* TForm1::ProtocolItem(uint8_t code) const {
  switch (code) {
    case kProtocolPelcoP:
      return PelcoP;
    case kProtocolPelcoD:
      return PelcoD;
    case kProtocolErnitec:
      return ERNITEC;
    default:
      return nullptr;
  }
}

bool TForm1::BaudChecked(uint8_t code) const {
  const QAction* item = BaudItem(code);
  return item && item->isChecked();
}

void TForm1::CheckBaud(uint8_t code) {
  if (!BaudItem(code)) return;
  baudChoice_->Mark(BaudItem(code));
  StatusPanels[1]->setText(QString::fromStdString(BaudRateText(code)));
}

bool TForm1::ProtocolChecked(uint8_t code) const {
  const QAction* item = ProtocolItem(code);
  return item && item->isChecked();
}

void TForm1::CheckProtocol(uint8_t code) {
  if (!ProtocolItem(code)) return;
  protocolChoice_->Mark(ProtocolItem(code));
  StatusPanels[2]->setText(QString::fromStdString(ProtocolText(code)));
}

void TForm1::ShowInformation(const std::string& text) {
  ShowMessage(QString::fromStdString(text), QStringLiteral("INFORMATION"), MessageIcon::Information,
              this);
}
