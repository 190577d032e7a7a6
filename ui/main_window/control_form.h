// Unit Control: the main window Form1. It owns everything that lives for the
// whole run: the serial port Comm1, the three timers, the menus, the settings
// panel, the address lists, the status bar and the camera link engine. The
// engine reaches the widgets through two small adapters the window owns
// (ControlCameraPanel, ControlLinkWindow). The widgets are private; their
// object names are their member names, which is how tests find them.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "link/camera_panel.h"
#include "link/link_services.h"

class ChoiceGroup;
class ControlCameraPanel;
class ControlLinkWindow;
class CommLinkPort;
class PortReturn;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class QamProtocol;
class TComm;
class TCommHandOver;
class TImageDelayForm;
class TKeyBoardForm;
class TLinkSleep;
class TLinkTimer;
class TShape;
class TappedLinkPort;
class TUpDown;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 655;
  static constexpr int kClientHeight = 401;

  // Builds the window and runs the start-up sequence over the program folder
  // (where "Port.dat", "data.dat", "newdata.dat" and the "Com1"/"Com2" links
  // live). FormCreate runs at the end.
  explicit TForm1(const QString& programFolder, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up step after the window: the on-screen keyboard and the image delay
  // dialog, which live until the program ends.
  void CreateKeyBoardAndImageDelayForms();

  const QString& ProgramFolder() const { return programFolder_; }
  QString PortDatPath() const;

  // --- State held by the window.
  bool CloseRequested = false;
  // The ProtocolSpeed sweep step lives in the engine; this reads it.
  uint8_t ProtocolSpeedStep() const;

  // --- Handlers, each named after its component and event.
  void FormCreate();
  void KeyboardSpeedClick();
  void SerialCOM1Click();
  void SerialCOM2Click();
  void AdaptersClick();
  void HundredAddChange();
  void TenAddChange();
  void UnitAddChange();
  void WhiteBalSelChange();
  void ShutterIrisChange();
  void SyncDCChange();
  void RedUpDownClick();
  void BlueUpDownClick();
  void Comm1RxChar(uint32_t count);
  void Comm1TxEmpty();
  void Comm1Gone();
  void ExistTimerTimer();
  void QamProtocolTimerTimer();
  void ReadButtonClick();
  void WriteButtonClick();
  void Open1Click();
  void SaveAs1Click();
  void GetRS422SETS1Click();
  void ProtocolSpeedClick();
  void ImageTimeClick();
  void ChangPasswordClick();
  void PasswordTimeTimer();
  void Help1Click();
  void about2Click();

  // --- Line selection and "Port.dat".
  void LoadPortDat();
  void SavePortDat();
  void ApplyPortDefaults();
  void ShowComPort();
  void OpenComPort();
  // Makes "Com1" (or "Com2") in the program folder lead to `device` and opens
  // it as choosing that port in the Port menu does.
  void UseAdapter(bool com1, const QString& device);
  void UpdateCameraAddress();

  // What the camera link sees of the window.
  CameraPanel& Panel();
  const CameraPanel& Panel() const;
  LinkWindow& LinkView();
  const LinkWindow& LinkView() const;

  // Text of a status bar panel 0..3.
  QString StatusText(int panel) const;
  // --- Components the program and tests share.
  std::unique_ptr<TComm> Comm1;
  TKeyBoardForm* KeyBoardForm = nullptr;
  TImageDelayForm* ImageDelayForm = nullptr;

  // The camera link engine.
  QamProtocol& Link() { return *qam_; }

  // --- What the installer tools (ui/tools/) need.
  // The engine's port; the line monitor listens on it.
  TappedLinkPort& LinePort();
  // Makes a camera found on the line the current one, as choosing its address
  // digits and its Baud rate item does. False (nothing done) while the link is busy.
  bool UseCamera(uint8_t address, uint8_t speedCode);
  // What the Port menu says of the selected port when it cannot be opened.
  QString PortClosedText() const;
  // The port's device has gone and the window waits for it to come back.
  bool AwaitingPort() const;

 signals:
  // Raised by FormClose, after "Port.dat" was written.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class ControlCameraPanel;
  friend class ControlLinkWindow;

  // --- Widgets and timers; their object names are these names.
  QMenuBar* RS422SetMenu = nullptr;
  QMenu* File1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QMenu* COMPORT1 = nullptr;
  QAction* SerialCOM1 = nullptr;
  QAction* SerialCOM2 = nullptr;
  QAction* Adapters = nullptr;
  QMenu* ADDRESSSET1 = nullptr;
  // The Baud rate and Protocol items are built from their tables and carry
  // their code; their names are "BR" and the rate, and the rows' menu items
  // (link/ptz_protocols.cpp).
  QMenu* Protocol1 = nullptr;
  QMenu* R1 = nullptr;
  QAction* GetRS422SETS1 = nullptr;
  QAction* ImageTime = nullptr;
  QAction* ChangPassword = nullptr;
  QMenu* Help = nullptr;
  QAction* Help1 = nullptr;
  QAction* about2 = nullptr;

  QWidget* Client = nullptr;  // the client area below the menu bar
  QToolButton* ColSpeed = nullptr;
  QToolButton* WBSpeed = nullptr;
  QToolButton* OSDOnSpeed = nullptr;
  QToolButton* ProtocolSpeed = nullptr;
  QLabel* AddreLabel = nullptr;
  QComboBox* HundredAdd = nullptr;
  QComboBox* TenAdd = nullptr;
  QComboBox* UnitAdd = nullptr;
  QPushButton* ReadButton = nullptr;
  QPushButton* WriteButton = nullptr;
  QToolButton* UpButton = nullptr;
  QToolButton* LeftButton = nullptr;
  QToolButton* SelectButton = nullptr;
  QToolButton* RightButton = nullptr;
  QToolButton* DownButton = nullptr;
  QStatusBar* StatusBar = nullptr;
  std::array<QLabel*, 4> StatusPanels{};
  // Beside the four panels, shown only while the port's device is away.
  QLabel* PortAwayLabel = nullptr;

  QFrame* Panel1 = nullptr;
  QLabel* BlueLable = nullptr;
  QLineEdit* IdEdit = nullptr;
  QToolButton* KeyboardSpeed = nullptr;
  QLineEdit* RedNumEdit = nullptr;
  TUpDown* RedUpDown = nullptr;
  QLineEdit* BlueNumEdit = nullptr;
  TUpDown* BlueUpDown = nullptr;
  TShape* LightShape = nullptr;
  QPlainTextEdit* FileMemo = nullptr;

  QTimer* ExistTimer = nullptr;
  QTimer* QamProtocolTimer = nullptr;
  QTimer* PasswordTime = nullptr;

  // The settings panel's labels and lists, built from the panel table.
  std::map<PanelControl, QLabel*> panelLabels_;
  std::map<PanelControl, QComboBox*> panelLists_;

  // A tool button of the client area: its member, name, picture, place and help topic.
  struct SpeedButtonRow {
    QToolButton* TForm1::*button;
    const char* name;
    const char* glyph;  // resource ":/zelta/<glyph>.png"
    int x, y, width, height;
    int helpContext;
  };

  void BuildMenus();
  void BuildControls();
  void BuildSpeedButtons(std::initializer_list<SpeedButtonRow> rows);
  void BuildAddressLists();
  void BuildTransferButtons();
  void BuildPanel();
  void BuildPanelPicture();
  void BuildIdBox();
  void BuildGainControls();
  void BuildStatusBar();
  void BuildComponents();
  void ConnectMenus();
  void ConnectControls();
  void ConnectTimers();
  void ShowPanelAtDefaults();
  void SetHints();
  void SetPanelCaptions();

  void ChoosePort(const std::string& chosen, const std::string& other, const char* missingText);
  void SwitchPort(const std::string& chosen, const std::string& other, const char* missingText);
  // Handlers of the Baud rate and Protocol items, given the item's code.
  void ChooseBaud(uint8_t code);
  void ChooseProtocol(uint8_t code);
  // Sets the serial component to the speed of `code` and checks its item.
  void UseBaud(uint8_t code);
  void SelectCom(bool com1);
  // The device that went away: closed, shown, awaited; and reopened with the
  // same settings when it is back.
  void ClosePortGone();
  void ReopenReturnedPort();
  void StopAwaitingPort();
  void AddressListChanged(QComboBox* changed);
  void LeaveAlternativeList(QComboBox* alternative, QComboBox* plain, int special);
  void ShowGain(TUpDown* upDown, QLineEdit* numEdit);
  bool LinkBusy() const;
  QComboBox* PanelList(PanelControl list) const { return panelLists_.at(list); }
  // Sets the address lists to the digits of `address` without their handlers.
  void ShowAddress(uint8_t address);

  ChoiceGroup* portChoice_ = nullptr;
  ChoiceGroup* baudChoice_ = nullptr;
  ChoiceGroup* protocolChoice_ = nullptr;

  QString programFolder_;
  bool portDatFailureShown_ = false;
  std::shared_ptr<TCommHandOver> handOver_;
  std::unique_ptr<CommLinkPort> port_;
  std::unique_ptr<TappedLinkPort> linePort_;
  std::unique_ptr<TLinkTimer> existTimer_;
  std::unique_ptr<TLinkTimer> qamProtocolTimer_;
  std::unique_ptr<TLinkSleep> sleep_;
  std::unique_ptr<ControlCameraPanel> panel_;
  std::unique_ptr<ControlLinkWindow> linkWindow_;
  std::unique_ptr<QamProtocol> qam_;
  PortReturn* portReturn_ = nullptr;
};
