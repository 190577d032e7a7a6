// The settings panel: the camera link's CameraPanel over the widgets, and
// the panel's own reactions to the user (manual white balance, the gain
// up-downs, leaving the IRIS and "---" lists).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "link/camera_items.h"
#include "ui/control_form.h"
#include "ui/control_panel_table.h"
#include "ui/control_up_down.h"
#include "ui/image_delay_form.h"
#include "ui/key_id_edit.h"

QComboBox* TForm1::ListOf(PanelControl list) const {
  for (const PanelListRow& row : kPanelLists) {
    if (row.control == list) return this->*row.list;
  }
  if (!ImageDelayForm) return nullptr;
  if (list == PanelControl::ColToWbComboBox) return ImageDelayForm->ColToWbComboBox;
  if (list == PanelControl::WbToColComboBox) return ImageDelayForm->WbToColComboBox;
  return nullptr;
}

QWidget* TForm1::ControlOf(PanelControl control) const {
  switch (control) {
    case PanelControl::RedUpDown:
      return RedUpDown;
    case PanelControl::BlueUpDown:
      return BlueUpDown;
    case PanelControl::IdEdit:
      return IdEdit;
    default:
      return ListOf(control);
  }
}

int TForm1::ItemIndex(PanelControl list) const {
  const QComboBox* box = ListOf(list);
  return box ? box->currentIndex() : -1;
}

void TForm1::SetItemIndex(PanelControl list, int index) {
  QComboBox* box = ListOf(list);
  if (!box) return;
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

bool TForm1::Visible(PanelControl control) const {
  const QWidget* widget = ControlOf(control);
  return widget && !widget->isHidden();
}

void TForm1::SetVisible(PanelControl control, bool visible) {
  if (QWidget* widget = ControlOf(control)) widget->setVisible(visible);
}

int TForm1::Position(PanelControl upDown) const {
  if (upDown == PanelControl::RedUpDown) return RedUpDown->Position();
  if (upDown == PanelControl::BlueUpDown) return BlueUpDown->Position();
  return 0;
}

void TForm1::SetPosition(PanelControl upDown, int position) {
  if (upDown == PanelControl::RedUpDown) {
    RedUpDown->SetPosition(position);
    ShowGain(RedUpDown, RedNumEdit);
  } else if (upDown == PanelControl::BlueUpDown) {
    BlueUpDown->SetPosition(position);
    ShowGain(BlueUpDown, BlueNumEdit);
  }
}

void TForm1::SetGainControlsVisible(bool visible) {
  for (QWidget* gain : {static_cast<QWidget*>(RedLabel), static_cast<QWidget*>(BlueLabel),
                        static_cast<QWidget*>(RedNumEdit), static_cast<QWidget*>(BlueNumEdit),
                        static_cast<QWidget*>(RedUpDown), static_cast<QWidget*>(BlueUpDown)}) {
    gain->setVisible(visible);
  }
  if (visible) {
    ShowGain(RedUpDown, RedNumEdit);
    ShowGain(BlueUpDown, BlueNumEdit);
  }
}

bool TForm1::GainControlsVisible() const {
  return !RedUpDown->isHidden();
}

std::string TForm1::IdEditText() const {
  return IdEdit->text().toLatin1().toStdString();
}

void TForm1::SetIdEditText(const std::string& text) {
  ::SetIdEditText(IdEdit, QString::fromLatin1(text.c_str()));
}

void TForm1::ShowGain(TUpDown* upDown, QLineEdit* numEdit) {
  numEdit->setText(QString::number(upDown->Position()));
}

void TForm1::WhiteBalSelChange() {
  ShowWhiteBalance(*this);
}

void TForm1::RedUpDownClick() {
  ShowGain(RedUpDown, RedNumEdit);
}

void TForm1::BlueUpDownClick() {
  ShowGain(BlueUpDown, BlueNumEdit);
}

void TForm1::LeaveAlternativeList(QComboBox* alternative, QComboBox* plain, int special) {
  const int choice = alternative->currentIndex();
  if (choice == special || choice < 0) return;
  plain->setCurrentIndex(choice);
  plain->show();
  alternative->hide();
}

void TForm1::ShutterIrisChange() {
  LeaveAlternativeList(ShutterIris, ShutterSel, kShutterIrisValue);
}

void TForm1::SyncDCChange() {
  LeaveAlternativeList(SyncDC, SyncSel, kSyncDCValue);
}
