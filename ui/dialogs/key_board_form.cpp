#include "ui/dialogs/key_board_form.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/widgets/key_id_edit.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

struct KeyPlace {
  const char* name;
  const char* caption;
  int left;
  int top;
  int width;
};

// Rows from left to right, top row first: also the tab order. The space bar
// has an empty caption; its character is a blank.
constexpr KeyPlace kKeys[] = {
    {"Button_1", "1", 0, 8, 25},        {"Button_2", "2", 32, 8, 25},
    {"Button_3", "3", 64, 8, 25},       {"Button_4", "4", 96, 8, 25},
    {"Button_5", "5", 128, 8, 25},      {"Button_6", "6", 160, 8, 25},
    {"Button_7", "7", 192, 8, 25},      {"Button_8", "8", 224, 8, 25},
    {"Button_9", "9", 256, 8, 25},      {"Button_0", "0", 288, 8, 25},
    {"Button_Dash", "-", 320, 8, 25},   {"Button_Ret", "<--", 352, 8, 41},
    {"Button_Q", "Q", 8, 40, 25},       {"Button_W", "W", 40, 40, 25},
    {"Button_E", "E", 72, 40, 25},      {"Button_R", "R", 104, 40, 25},
    {"Button_T", "T", 136, 40, 25},     {"Button_Y", "Y", 168, 40, 25},
    {"Button_U", "U", 200, 40, 25},     {"Button_I", "I", 232, 40, 25},
    {"Button_O", "O", 264, 40, 25},     {"Button_P", "P", 296, 40, 25},
    {"Button_Comma", ",", 328, 40, 25}, {"Button_Del", "Del", 360, 40, 33},
    {"Button_A", "A", 16, 72, 25},      {"Button_S", "S", 48, 72, 25},
    {"Button_D", "D", 80, 72, 25},      {"Button_F", "F", 112, 72, 27},
    {"Button_G", "G", 144, 72, 25},     {"Button_H", "H", 176, 72, 25},
    {"Button_J", "J", 208, 72, 25},     {"Button_K", "K", 241, 72, 24},
    {"Button_L", "L", 272, 72, 25},     {"Button_Semi", ";", 304, 72, 25},
    {"Button_Dot", ".", 336, 72, 25},   {"Button_Mul", "*", 368, 72, 25},
    {"Button_Z", "Z", 24, 104, 25},     {"Button_X", "X", 56, 104, 25},
    {"Button_C", "C", 88, 104, 25},     {"Button_V", "V", 120, 104, 25},
    {"Button_B", "B", 152, 104, 25},    {"Button_N", "N", 184, 104, 25},
    {"Button_M", "M", 216, 104, 25},    {"Button_Small", "<", 248, 104, 25},
    {"Button_Big", ">", 280, 104, 25},  {"Button_Div", "/", 312, 104, 25},
    {"Button_Space", "", 344, 104, 49},
};

constexpr int kKeyHeight = 25;

}  // namespace

TKeyBoardForm::TKeyBoardForm(QLineEdit* idEdit, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      idEdit_(idEdit) {
  setObjectName(QStringLiteral("KeyBoardForm"));
  setWindowTitle(QStringLiteral("Key Board "));
  setFixedSize(398, 136);
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);
  QFont keyFont(formFont);
  keyFont.setPixelSize(13);
  // Moving over the surface between the buttons hands the focus back.
  setMouseTracking(true);

  QWidget* previous = nullptr;
  for (const KeyPlace& place : kKeys) {
    auto* button = new QPushButton(QString::fromLatin1(place.caption), this);
    button->setObjectName(QString::fromLatin1(place.name));
    button->setGeometry(place.left, place.top, place.width, kKeyHeight);
    button->setFont(keyFont);
    button->setAutoDefault(false);
    if (previous != nullptr) setTabOrder(previous, button);
    previous = button;
    const QString name = button->objectName();
    if (name == QLatin1String("Button_Ret")) {
      connect(button, &QPushButton::clicked, this, [this] { Button_RetClick(); });
    } else if (name == QLatin1String("Button_Del")) {
      connect(button, &QPushButton::clicked, this, [this] { Button_DelClick(); });
    } else {
      const QChar character = place.caption[0] == '\0' ? QChar(u' ') : QChar(place.caption[0]);
      connect(button, &QPushButton::clicked, this,
              [this, character] { InsertCharacter(character); });
    }
  }
}

void TKeyBoardForm::ShowKeyBoard() {
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  FocusIdEdit();
}

QPushButton* TKeyBoardForm::Button(const QString& name) const {
  return findChild<QPushButton*>(name, Qt::FindDirectChildrenOnly);
}

void TKeyBoardForm::InsertCharacter(QChar character) {
  if (idEdit_ == nullptr) return;
  if (idEdit_->text().size() >= kIdEditMaxLength && !idEdit_->hasSelectedText()) {
    ShowNotice(QString::fromLatin1(kKeyBoardFullMessage), this);
    FocusIdEdit();
    return;
  }
  FocusIdEdit();
  // Replaces the selection, or inserts at the caret; the caret ends after it.
  idEdit_->insert(QString(character));
}

bool TKeyBoardForm::RemoveSelection() {
  if (!idEdit_->hasSelectedText()) return false;
  const QString text = idEdit_->text();
  const int start = idEdit_->selectionStart();
  const int length = static_cast<int>(idEdit_->selectedText().size());
  idEdit_->setText(text.left(start) + text.mid(start + length));
  idEdit_->setCursorPosition(start);
  return true;
}

void TKeyBoardForm::Button_RetClick() {
  if (idEdit_ == nullptr) return;
  FocusIdEdit();
  if (RemoveSelection()) return;
  const QString text = idEdit_->text();
  const int caret = idEdit_->cursorPosition();
  if (caret <= 0) return;
  idEdit_->setText(text.left(caret - 1) + text.mid(caret));
  idEdit_->setCursorPosition(caret - 1);
}

void TKeyBoardForm::Button_DelClick() {
  if (idEdit_ == nullptr) return;
  FocusIdEdit();
  if (RemoveSelection()) return;
  const QString text = idEdit_->text();
  const int caret = idEdit_->cursorPosition();
  if (caret >= text.size()) return;
  idEdit_->setText(text.left(caret) + text.mid(caret + 1));
  idEdit_->setCursorPosition(caret);
}

void TKeyBoardForm::FormMouseMove() {
  FocusIdEdit();
}

void TKeyBoardForm::mouseMoveEvent(QMouseEvent* event) {
  FormMouseMove();
  QWidget::mouseMoveEvent(event);
}

void TKeyBoardForm::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
    if (QPushButton* s = Button(QStringLiteral("Button_S"))) s->setFocus();
  }
  QWidget::showEvent(event);
}

void TKeyBoardForm::FocusIdEdit() {
  if (idEdit_ == nullptr) return;
  // The main window becomes active with the caret in IdEdit; the keyboard
  // stays on top of it.
  QWidget* main = idEdit_->window();
  main->activateWindow();
  idEdit_->setFocus(Qt::OtherFocusReason);
}
