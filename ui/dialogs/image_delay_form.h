// The image delay dialog ImageDelayForm: shows and changes the two day/night
// switching delays (items 0x21 and 0x22), starts their read and write through
// the camera link, and shows the link's progress and lamp. It lives from
// start-up to the end; closing it only hides it.
#pragma once

#include <QDialog>
#include <string>

#include "link/link_services.h"

class QComboBox;
class QLabel;
class QPushButton;
class QamProtocol;
struct CameraLinkState;
class TShape;

class TImageDelayForm : public QDialog {
  Q_OBJECT

 public:
  // link and state outlive the dialog; parent is the main window.
  TImageDelayForm(QamProtocol& link, CameraLinkState& state, QWidget* parent = nullptr);

  // ImageTimeClick of the main window: fills both lists from the codes of the
  // link-state record, clears the status text and runs the dialog modally
  // (the link's timers and serial events go on meanwhile).
  void ImageTimeClick();
  // The first two steps alone (also what ImageTimeClick does before exec).
  void PrepareToOpen();

  // StatusInfo panel 0.
  void SetDialogStatus(const std::string& text);
  std::string DialogStatus() const;
  // ImageDelayShape: red or lime.
  void SetDelayLamp(LampColour colour);
  LampColour DelayLamp() const;
  // WriteImageDelay and ReadImageDelay together (the dialog's half of the
  // link display update).
  void SetTransferButtonsEnabled(bool enabled);

  // Handlers.
  void ColToWbComboBoxChange(int position);
  void WbToColComboBoxChange(int position);
  void ReadImageDelayClick();
  void WriteImageDelayClick();
  void CloseButtonClick();

  // The lists, reached also by the main window's panel adapter.
  QComboBox* ColToWbComboBox = nullptr;
  QComboBox* WbToColComboBox = nullptr;
  QPushButton* WriteImageDelay = nullptr;
  QPushButton* ReadImageDelay = nullptr;
  QPushButton* CloseButton = nullptr;
  TShape* ImageDelayShape = nullptr;
  QLabel* StatusInfo = nullptr;  // panel 0 of the status bar

 private:
  void BuildDelayLists();
  void BuildButtons();
  void BuildLampAndStatus();
  QamProtocol& link_;
  CameraLinkState& state_;
};
