// The camera address selector: three digit lists, 1 to 199, address 0 refused.
#include <QComboBox>

#include "link/camera_link_state.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/message_box.h"

namespace {

// A list without a selection (after a reported address above 199) counts as 0.
int Digit(const QComboBox* list) {
  return qMax(0, list->currentIndex());
}

// Selects the digit, or nothing when the list has no such entry.
void ShowDigit(QComboBox* list, int digit) {
  list->setCurrentIndex(digit >= 0 && digit < list->count() ? digit : -1);
}

}  // namespace

void TForm1::UpdateCameraAddress() {
  CameraAddress =
      static_cast<uint8_t>(100 * Digit(HundredAdd) + 10 * Digit(TenAdd) + Digit(UnitAdd));
}

void TForm1::ShowAddress(uint8_t address) {
  ShowDigit(HundredAdd, address / 100);
  ShowDigit(TenAdd, (address % 100) / 10);
  ShowDigit(UnitAdd, address % 10);
}

void TForm1::AddressListChanged(QComboBox* changed) {
  if (Digit(HundredAdd) != 0 || Digit(TenAdd) != 0 || Digit(UnitAdd) != 0) {
    UpdateCameraAddress();
    return;
  }
  ShowMessage(QStringLiteral("Address rang : 1~199"), QStringLiteral("Error"), MessageIcon::Error,
              this);
  // The others are 0 now, so this is the digit the list had before.
  const int address = CameraAddress;
  if (changed == HundredAdd) ShowDigit(HundredAdd, address / 100);
  if (changed == TenAdd) ShowDigit(TenAdd, (address % 100) / 10);
  if (changed == UnitAdd) ShowDigit(UnitAdd, address % 10);
}

void TForm1::HundredAddChange() {
  AddressListChanged(HundredAdd);
}

void TForm1::TenAddChange() {
  AddressListChanged(TenAdd);
}

void TForm1::UnitAddChange() {
  AddressListChanged(UnitAdd);
}
