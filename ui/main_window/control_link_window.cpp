#include "ui/main_window/control_link_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/camera_items.h"
#include "link/line_speeds.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/choice_group.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/lamp_colours.h"
#include "ui/widgets/message_box.h"

void ControlLinkWindow::SetMainStatus(const std::string& text) {
  form_.StatusPanels[3]->setText(QString::fromStdString(text));
}

void ControlLinkWindow::SetDialogStatus(const std::string& text) {
  if (form_.ImageDelayForm) form_.ImageDelayForm->SetDialogStatus(text);
}

void ControlLinkWindow::SetLamp(LampColour colour) {
  form_.LightShape->SetBrushColor(LampQColor(colour));
}

LampColour ControlLinkWindow::Lamp() const {
  return form_.LightShape->BrushColor() == kLampLime ? LampColour::Lime : LampColour::Red;
}

void ControlLinkWindow::SetDelayLamp(LampColour colour) {
  if (form_.ImageDelayForm) form_.ImageDelayForm->SetDelayLamp(colour);
}

LampColour ControlLinkWindow::DelayLamp() const {
  // Before the dialog exists its lamp is the main window's.
  return form_.ImageDelayForm ? form_.ImageDelayForm->DelayLamp() : Lamp();
}

void ControlLinkWindow::SetTransferButtonsEnabled(bool enabled) {
  form_.ReadButton->setEnabled(enabled);
  form_.WriteButton->setEnabled(enabled);
  if (form_.ImageDelayForm) form_.ImageDelayForm->SetTransferButtonsEnabled(enabled);
}

namespace {

bool CodeChecked(const ChoiceGroup& group, uint8_t code) {
  const QAction* item = group.ItemWithCode(code);
  return item && item->isChecked();
}

// Marks the item of `code` and shows its text in a status panel.
void MarkCode(ChoiceGroup& group, uint8_t code, QLabel* statusPanel, const std::string& text) {
  QAction* item = group.ItemWithCode(code);
  if (!item) return;
  group.Mark(item);
  statusPanel->setText(QString::fromStdString(text));
}

}  // namespace

bool ControlLinkWindow::BaudChecked(uint8_t code) const {
  return CodeChecked(*form_.baudChoice_, code);
}

void ControlLinkWindow::CheckBaud(uint8_t code) {
  MarkCode(*form_.baudChoice_, code, form_.StatusPanels[1], BaudRateText(code));
}

bool ControlLinkWindow::ProtocolChecked(uint8_t code) const {
  return CodeChecked(*form_.protocolChoice_, code);
}

void ControlLinkWindow::CheckProtocol(uint8_t code) {
  MarkCode(*form_.protocolChoice_, code, form_.StatusPanels[2], ProtocolText(code));
}

void ControlLinkWindow::ShowInformation(const std::string& text) {
  ShowNotice(QString::fromStdString(text), &form_);
}

void ControlLinkWindow::ShowAddress(uint8_t address) {
  form_.ShowAddress(address);
}
