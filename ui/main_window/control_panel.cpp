// The settings panel's own reactions to the user (manual white balance, the gain
// up-downs, leaving the IRIS and "---" lists).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "link/camera_items.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_camera_panel.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/key_id_edit.h"

void TForm1::ShowGain(TUpDown* upDown, QLineEdit* numEdit) {
  numEdit->setText(QString::number(upDown->Position()));
}

void TForm1::WhiteBalSelChange() {
  ShowWhiteBalance(*panel_);
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
  LeaveAlternativeList(PanelList(PanelControl::ShutterIris), PanelList(PanelControl::ShutterSel),
                       kShutterIrisValue);
}

void TForm1::SyncDCChange() {
  LeaveAlternativeList(PanelList(PanelControl::SyncDC), PanelList(PanelControl::SyncSel),
                       kSyncDCValue);
}
