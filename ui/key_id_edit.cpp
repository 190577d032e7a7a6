#include "ui/key_id_edit.h"

#include <QLineEdit>

const char kIdEditFullMessage[] = "Max length of Keyin character is 16 , now is full";
const char kIdEditRangeMessage[] =
    "Keyin range  :  '0~9'  'A~Z'  '<'  '>'  '-'  '.'  ','  ';'  '*'  '/'  'SPACE'";
const char kKeyBoardFullMessage[] = "Max length of Keyin character  is 16 , now is full";

int IdEditKeyPress(const QLineEdit&, int key) {
  return key;
}

void InstallIdEditRules(QLineEdit*) {}
