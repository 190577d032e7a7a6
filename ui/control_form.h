// Unit Control: the main window Form1. It owns everything that lives for the
// whole run: the serial port Comm1, the three timers, the menus, the settings
// panel, the address lists, the status bar and the camera link engine. The
// engine reaches the widgets through CameraPanel and LinkWindow, which the
// window implements here.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "link/camera_panel.h"
#include "link/link_services.h"

class ChoiceGroup;
class CommLinkPort;
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
class TUpDown;

class TForm1 : public QMainWindow, public CameraPanel, public LinkWindow {
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

  // --- CameraPanel.
  int ItemIndex(PanelControl list) const override;
  void SetItemIndex(PanelControl list, int index) override;
  bool Visible(PanelControl control) const override;
  void SetVisible(PanelControl control, bool visible) override;
  int Position(PanelControl upDown) const override;
  void SetPosition(PanelControl upDown, int position) override;
  void SetGainControlsVisible(bool visible) override;
  bool GainControlsVisible() const override;
  std::string IdEditText() const override;
  void SetIdEditText(const std::string& text) override;

  // --- LinkWindow.
  void SetMainStatus(const std::string& text) override;
  void SetDialogStatus(const std::string& text) override;
  void SetLamp(LampColour colour) override;
  LampColour Lamp() const override;
  void SetDelayLamp(LampColour colour) override;
  LampColour DelayLamp() const override;
  void SetTransferButtonsEnabled(bool enabled) override;
  void ShowAddress(uint8_t address) override;
  bool BaudChecked(uint8_t code) const override;
  void CheckBaud(uint8_t code) override;
  bool ProtocolChecked(uint8_t code) const override;
  void CheckProtocol(uint8_t code) override;
  void ShowInformation(const std::string& text) override;

  // Text of a status bar panel 0..3.
  QString StatusText(int panel) const;
  // The list or up-down widget behind a panel control.
  QComboBox* ListOf(PanelControl list) const;

  // --- Components.
  QMenuBar* RS422SetMenu = nullptr;
  QMenu* File1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QMenu* COMPORT1 = nullptr;
  QAction* SerialCOM1 = nullptr;
  QAction* SerialCOM2 = nullptr;
  QAction* Adapters = nullptr;
  QMenu* ADDRESSSET1 = nullptr;
  // The Baud rate and Protocol items are built from their tables; these name
  // the ones the program has always had.
  QAction* BR1200 = nullptr;
  QAction* BR2400 = nullptr;
  QAction* BR4800 = nullptr;
  QAction* BR9600 = nullptr;
  QMenu* Protocol1 = nullptr;
  QAction* PelcoP = nullptr;
  QAction* PelcoD = nullptr;
  QAction* ERNITEC = nullptr;
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

  QFrame* Panel1 = nullptr;
  QLabel* BlueLable = nullptr;
  QLabel* DNModeLabel = nullptr;
  QLabel* DNLevelLabel = nullptr;
  QLabel* DNFilLabel = nullptr;
  QLabel* ShutterLabel = nullptr;
  QLabel* GainLablel = nullptr;
  QLabel* SyncLabel = nullptr;
  QLabel* GammaLabel = nullptr;
  QLabel* BlcLabel = nullptr;
  QLabel* WhiteBalLabel = nullptr;
  QLabel* SharpnessLabel = nullptr;
  QLabel* PredtmspLabel = nullptr;
  QLabel* IdLabel = nullptr;
  QLabel* IdPosLabel = nullptr;
  QComboBox* DNModeSel = nullptr;
  QComboBox* DNLevelSel = nullptr;
  QComboBox* DNFilSel = nullptr;
  QComboBox* ShutterSel = nullptr;
  QComboBox* ShutterIris = nullptr;
  QComboBox* GainSel = nullptr;
  QComboBox* SyncSel = nullptr;
  QComboBox* SyncDC = nullptr;
  QComboBox* GammaSel = nullptr;
  QComboBox* BlcSel = nullptr;
  QComboBox* WhiteBalSel = nullptr;
  QComboBox* SharpnessSel = nullptr;
  QComboBox* PredtmspSel = nullptr;
  QComboBox* IDPosSel = nullptr;
  QLineEdit* IdEdit = nullptr;
  QToolButton* KeyboardSpeed = nullptr;
  QLabel* RedLabel = nullptr;
  QLineEdit* RedNumEdit = nullptr;
  TUpDown* RedUpDown = nullptr;
  QLabel* BlueLabel = nullptr;
  QLineEdit* BlueNumEdit = nullptr;
  TUpDown* BlueUpDown = nullptr;
  TShape* LightShape = nullptr;
  QPlainTextEdit* FileMemo = nullptr;

  QTimer* ExistTimer = nullptr;
  QTimer* QamProtocolTimer = nullptr;
  QTimer* PasswordTime = nullptr;

  std::unique_ptr<TComm> Comm1;
  TKeyBoardForm* KeyBoardForm = nullptr;
  TImageDelayForm* ImageDelayForm = nullptr;

  // The camera link engine.
  QamProtocol& Link() { return *qam_; }

 signals:
  // Raised by FormClose, after "Port.dat" was written.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildControls();
  void BuildPanel();
  void BuildStatusBar();
  void BuildComponents();
  void ConnectHandlers();
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
  void AddressListChanged(QComboBox* changed);
  void LeaveAlternativeList(QComboBox* alternative, QComboBox* plain, int special);
  void ShowGain(TUpDown* upDown, QLineEdit* numEdit);
  bool LinkBusy() const;

  QWidget* ControlOf(PanelControl control) const;

  ChoiceGroup* portChoice_ = nullptr;
  ChoiceGroup* baudChoice_ = nullptr;
  ChoiceGroup* protocolChoice_ = nullptr;

  QString programFolder_;
  std::shared_ptr<TCommHandOver> handOver_;
  std::unique_ptr<CommLinkPort> port_;
  std::unique_ptr<TLinkTimer> existTimer_;
  std::unique_ptr<TLinkTimer> qamProtocolTimer_;
  std::unique_ptr<TLinkSleep> sleep_;
  std::unique_ptr<QamProtocol> qam_;
};
