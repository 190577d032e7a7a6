// The entry rules of IdEdit, the camera's 16-character ID text box: the
// length limit of typed text, the key filter with its two messages and the
// change of small letters into capitals.
#pragma once

#include <QString>

class QLineEdit;

constexpr int kIdEditMaxLength = 16;

extern const char kIdEditFullMessage[];    // typed key into a full box
extern const char kIdEditRangeMessage[];   // typed key outside the ID set
extern const char kKeyBoardFullMessage[];  // keyboard button into a full box (two blanks)

// Key filter of IdEdit for one typed character code (8 = Backspace, control
// codes below 32). Shows the messages and returns the character to type,
// which may be changed into a capital, or 0 when the key is cancelled.
int IdEditKeyPress(const QLineEdit& idEdit, int key);

// Installs the rules on the main window's IdEdit: every character key goes
// through IdEditKeyPress, and typing never makes the text longer than 16
// characters. Pasted or dropped text is cut to what fits in 16 (the key rules
// do not apply to it). Keys that type nothing (arrows, Delete, Tab, F1) pass
// untouched. The filter object is owned by idEdit.
void InstallIdEditRules(QLineEdit* idEdit);

// Sets the text as the program does (a settings file may hold a longer ID):
// never cut, and no edit may then make it longer.
void SetIdEditText(QLineEdit* idEdit, const QString& text);
