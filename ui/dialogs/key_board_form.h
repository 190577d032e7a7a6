// The on-screen keyboard KeyBoardForm: a small always-on-top window of 47
// buttons that edits the main window's IdEdit without the PC keyboard. It has
// no text of its own; after every button the caret is back in IdEdit.
#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;

class TKeyBoardForm : public QWidget {
  Q_OBJECT

 public:
  // idEdit: the main window's ID box (not owned). parent: the main window,
  // which owns the keyboard; it stays a window of its own.
  explicit TKeyBoardForm(QLineEdit* idEdit, QWidget* parent = nullptr);

  // KeyboardSpeedClick of the main window: shows the keyboard (restored if
  // minimised, unchanged otherwise) and gives IdEdit the focus.
  void ShowKeyBoard();

  // The button of that component name ("Button_7", "Button_Ret", ...), or nullptr.
  QPushButton* Button(const QString& name) const;

  // Character buttons: insert one character into IdEdit.
  void InsertCharacter(QChar character);
  void Button_RetClick();  // "<--": delete backwards
  void Button_DelClick();  // "Del": delete forwards
  // Pointer over the window's own surface: IdEdit takes the focus.
  void FormMouseMove();

 protected:
  void mouseMoveEvent(class QMouseEvent* event) override;
  void showEvent(class QShowEvent* event) override;

 private:
  void FocusIdEdit();
  // Deletes the selected text of IdEdit, the caret at its place; false when none.
  bool RemoveSelection();

  QPointer<QLineEdit> idEdit_;
  bool centred_ = false;
};
