// Port > Adapters...: choosing the device COM1 or COM2 stands for.
#include "ui/dialogs/adapters_form.h"
#include "ui/main_window/control_form.h"

void TForm1::AdaptersClick() {
  TAdaptersForm dialog(this, programFolder_);
  if (dialog.exec() != QDialog::Accepted) return;
  UseAdapter(dialog.ChosenPort() == 1, dialog.ChosenDevice());
}
