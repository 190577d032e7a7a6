#include "ui/main_window/control_camera_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "link/camera_items.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/key_id_edit.h"

QComboBox* ControlCameraPanel::ListOf(PanelControl list) const {
  if (const auto found = form_.panelLists_.find(list); found != form_.panelLists_.end()) {
    return found->second;
  }
  const TImageDelayForm* dialog = form_.ImageDelayForm;
  if (!dialog) return nullptr;
  if (list == PanelControl::ColToWbComboBox) return dialog->ColToWbComboBox;
  if (list == PanelControl::WbToColComboBox) return dialog->WbToColComboBox;
  return nullptr;
}

QWidget* ControlCameraPanel::ControlOf(PanelControl control) const {
  switch (control) {
    case PanelControl::RedUpDown:
      return form_.RedUpDown;
    case PanelControl::BlueUpDown:
      return form_.BlueUpDown;
    case PanelControl::IdEdit:
      return form_.IdEdit;
    default:
      return ListOf(control);
  }
}

int ControlCameraPanel::ItemIndex(PanelControl list) const {
  const QComboBox* box = ListOf(list);
  return box ? box->currentIndex() : -1;
}

void ControlCameraPanel::SetItemIndex(PanelControl list, int index) {
  QComboBox* box = ListOf(list);
  if (!box) return;
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

bool ControlCameraPanel::Visible(PanelControl control) const {
  const QWidget* widget = ControlOf(control);
  return widget && !widget->isHidden();
}

void ControlCameraPanel::SetVisible(PanelControl control, bool visible) {
  if (QWidget* widget = ControlOf(control)) widget->setVisible(visible);
}

int ControlCameraPanel::Position(PanelControl upDown) const {
  if (upDown == PanelControl::RedUpDown) return form_.RedUpDown->Position();
  if (upDown == PanelControl::BlueUpDown) return form_.BlueUpDown->Position();
  return 0;
}

void ControlCameraPanel::SetPosition(PanelControl upDown, int position) {
  if (upDown == PanelControl::RedUpDown) {
    form_.RedUpDown->SetPosition(position);
    form_.ShowGain(form_.RedUpDown, form_.RedNumEdit);
  } else if (upDown == PanelControl::BlueUpDown) {
    form_.BlueUpDown->SetPosition(position);
    form_.ShowGain(form_.BlueUpDown, form_.BlueNumEdit);
  }
}

void ControlCameraPanel::SetGainControlsVisible(bool visible) {
  for (QWidget* gain :
       {static_cast<QWidget*>(form_.panelLabels_.at(PanelControl::RedUpDown)),
        static_cast<QWidget*>(form_.panelLabels_.at(PanelControl::BlueUpDown)),
        static_cast<QWidget*>(form_.RedNumEdit), static_cast<QWidget*>(form_.BlueNumEdit),
        static_cast<QWidget*>(form_.RedUpDown), static_cast<QWidget*>(form_.BlueUpDown)}) {
    gain->setVisible(visible);
  }
  if (visible) {
    form_.ShowGain(form_.RedUpDown, form_.RedNumEdit);
    form_.ShowGain(form_.BlueUpDown, form_.BlueNumEdit);
  }
}

bool ControlCameraPanel::GainControlsVisible() const {
  return !form_.RedUpDown->isHidden();
}

std::string ControlCameraPanel::IdEditText() const {
  return form_.IdEdit->text().toLatin1().toStdString();
}

void ControlCameraPanel::SetIdEditText(const std::string& text) {
  ::SetIdEditText(form_.IdEdit, QString::fromLatin1(text.c_str()));
}
