#include "ui/main_window/control_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "comm/comm.h"
#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/ptz_buttons.h"
#include "link/qam_protocol.h"
#include "ui/dialogs/about_form.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/dialogs/key_board_form.h"
#include "ui/dialogs/password_access.h"
#include "ui/main_window/control_application.h"
#include "ui/main_window/control_camera_panel.h"
#include "ui/main_window/control_hand_over.h"
#include "ui/main_window/control_link_window.h"
#include "ui/main_window/control_panel_table.h"
#include "ui/main_window/control_timers.h"
#include "ui/main_window/settings_file_commands.h"
#include "ui/tools/line_tap.h"
#include "ui/widgets/choice_group.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/key_id_edit.h"
#include "wiring/comm_link_port.h"

// Resources of a static library must be registered by name, outside any namespace.
static void InitControlResources() {
  Q_INIT_RESOURCE(zelta);
}

TForm1::TForm1(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      programFolder_(QDir(programFolder).absolutePath()) {
  InitControlResources();
  setObjectName(QStringLiteral("Form1"));
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPixelSize(11);
  setFont(formFont);

  panel_ = std::make_unique<ControlCameraPanel>(*this);
  linkWindow_ = std::make_unique<ControlLinkWindow>(*this);
  BuildMenus();
  BuildControls();
  BuildComponents();
  ConnectMenus();
  ConnectControls();
  ConnectTimers();
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  // The access check first: its dialogs are modal, and no timer or port runs yet.
  CloseRequested = false;
  try {
    CloseRequested = RunStartupAccessCheck(programFolder_, this);
  } catch (...) {
    // Whoever got no answer from the check does not get in.
    TApplication::ShowException();
    CloseRequested = true;
  }

  ShowPanelAtDefaults();

  // The line format: 8 data bits, one stop bit, no parity.
  Comm1->SetDataBits(da8);
  Comm1->SetStopBits(sb10);
  Comm1->SetParity(paNone);

  // Port, speed and protocol as remembered in "Port.dat".
  LoadPortDat();

  // Every start begins at address 1.
  HundredAdd->setCurrentIndex(0);
  TenAdd->setCurrentIndex(0);
  UnitAdd->setCurrentIndex(1);
  CameraAddress = kDefaultCameraAddress;

  // No transfer running; open the port and send the first poll, which
  // starts the watchdog.
  ClearLinkFlags(LinkState);
  OpenComPort();
  qam_->Start();

  // An untitled settings file and the panel's hints.
  setWindowTitle(QStringLiteral(" - Untitled.TXT"));
  SetHints();

  FormCreate();
}

TForm1::~TForm1() {
  ExistTimer->stop();
  QamProtocolTimer->stop();
  PasswordTime->stop();
  // The two windows hold references to the engine and IdEdit, which go before
  // the window's children would.
  delete ImageDelayForm;
  ImageDelayForm = nullptr;
  delete KeyBoardForm;
  KeyBoardForm = nullptr;
  // Release an event thread waiting on us before the port goes; the port's
  // Close does not wait for that thread.
  if (auto* handOver = static_cast<TQtCommHandOver*>(handOver_.get())) handOver->TearDown();
  Comm1.reset();
}

// The settings panel at its defaults, the alternative lists on top of their
// plain ones, the lamp red until the camera answers.
void TForm1::ShowPanelAtDefaults() {
  SetPanelCaptions();
  linkWindow_->SetLamp(LampColour::Red);
  const auto stackAlternative = [this](PanelControl alternative, PanelControl plain) {
    PanelList(alternative)->hide();
    PanelList(alternative)->move(PanelList(plain)->pos());
  };
  stackAlternative(PanelControl::ShutterIris, PanelControl::ShutterSel);
  stackAlternative(PanelControl::SyncDC, PanelControl::SyncSel);
  SetPanelDefaults(*panel_, LinkState);
}

void TForm1::BuildComponents() {
  ExistTimer = new QTimer(this);
  ExistTimer->setObjectName(QStringLiteral("ExistTimer"));
  ExistTimer->setInterval(5000);
  QamProtocolTimer = new QTimer(this);
  QamProtocolTimer->setObjectName(QStringLiteral("QamProtocolTimer"));
  QamProtocolTimer->setInterval(100);
  PasswordTime = new QTimer(this);
  PasswordTime->setObjectName(QStringLiteral("PasswordTime"));
  PasswordTime->setInterval(100);

  handOver_ = std::make_shared<TQtCommHandOver>(this);
  Comm1 = std::make_unique<TComm>(handOver_);
  Comm1->SetProgramFolder(QFile::encodeName(programFolder_).toStdString());
  Comm1->SetDeviceName("Com2");
  Comm1->SetWriteTimeout(2000);
  Comm1->SetMonitorEvents(AllCommEvents());
  Comm1->SetBaudRate(br4800);
  Comm1->OnRxChar = [this](TThreadComm&, uint32_t count) { Comm1RxChar(count); };
  Comm1->OnTxEmpty = [this](TThreadComm&) { Comm1TxEmpty(); };
  Comm1->OnGone = [this](TThreadComm&) { Comm1Gone(); };

  port_ = std::make_unique<CommLinkPort>(*Comm1);
  linePort_ = std::make_unique<TappedLinkPort>(*port_);
  existTimer_ = std::make_unique<TLinkTimer>(*ExistTimer);
  qamProtocolTimer_ = std::make_unique<TLinkTimer>(*QamProtocolTimer);
  sleep_ = std::make_unique<TLinkSleep>();
  qam_ = std::make_unique<QamProtocol>(QamProtocolServices{LinkState, CameraAddress, *panel_,
                                                           *linkWindow_, *linePort_, *existTimer_,
                                                           *qamProtocolTimer_, *sleep_});
}

void TForm1::ConnectMenus() {
  // A click has already moved the mark when `triggered` arrives; put it
  // back so the handler sees the selection as it was and decides.
  const auto onItem = [this](QAction* item, void (TForm1::*handler)()) {
    connect(item, &QAction::triggered, this, [this, item, handler] {
      if (auto* choice = qobject_cast<ChoiceGroup*>(item->actionGroup())) choice->RestoreMarks();
      (this->*handler)();
    });
  };
  onItem(Open1, &TForm1::Open1Click);
  onItem(SaveAs1, &TForm1::SaveAs1Click);
  onItem(SerialCOM1, &TForm1::SerialCOM1Click);
  onItem(SerialCOM2, &TForm1::SerialCOM2Click);
  onItem(Adapters, &TForm1::AdaptersClick);
  // The Baud rate and Protocol items carry their code.
  const auto onChoice = [this](ChoiceGroup* group, void (TForm1::*choose)(uint8_t)) {
    for (QAction* item : group->actions()) {
      const auto code = static_cast<uint8_t>(item->data().toUInt());
      connect(item, &QAction::triggered, this, [this, group, code, choose] {
        group->RestoreMarks();
        (this->*choose)(code);
      });
    }
  };
  onChoice(baudChoice_, &TForm1::ChooseBaud);
  onChoice(protocolChoice_, &TForm1::ChooseProtocol);
  onItem(GetRS422SETS1, &TForm1::GetRS422SETS1Click);
  onItem(ImageTime, &TForm1::ImageTimeClick);
  onItem(ChangPassword, &TForm1::ChangPasswordClick);
  onItem(Help1, &TForm1::Help1Click);
  onItem(about2, &TForm1::about2Click);
}

void TForm1::ConnectControls() {
  // `activated` comes only from the user's choice, never from setCurrentIndex.
  connect(HundredAdd, &QComboBox::activated, this, [this] { HundredAddChange(); });
  connect(TenAdd, &QComboBox::activated, this, [this] { TenAddChange(); });
  connect(UnitAdd, &QComboBox::activated, this, [this] { UnitAddChange(); });
  connect(PanelList(PanelControl::WhiteBalSel), &QComboBox::activated, this,
          [this] { WhiteBalSelChange(); });
  connect(PanelList(PanelControl::ShutterIris), &QComboBox::activated, this,
          [this] { ShutterIrisChange(); });
  connect(PanelList(PanelControl::SyncDC), &QComboBox::activated, this, [this] { SyncDCChange(); });
  connect(RedUpDown, &TUpDown::Clicked, this, [this] { RedUpDownClick(); });
  connect(BlueUpDown, &TUpDown::Clicked, this, [this] { BlueUpDownClick(); });

  connect(ReadButton, &QPushButton::clicked, this, [this] { ReadButtonClick(); });
  connect(WriteButton, &QPushButton::clicked, this, [this] { WriteButtonClick(); });
  connect(KeyboardSpeed, &QToolButton::clicked, this, [this] { KeyboardSpeedClick(); });
  connect(ProtocolSpeed, &QToolButton::clicked, this, [this] { ProtocolSpeedClick(); });
  const auto ptz = [this](QToolButton* button, PtzButton which) {
    connect(button, &QToolButton::clicked, this,
            [this, which] { PtzButtonClick(*qam_, *linkWindow_, CameraAddress, which); });
  };
  ptz(UpButton, PtzButton::Up);
  ptz(DownButton, PtzButton::Down);
  ptz(LeftButton, PtzButton::Left);
  ptz(RightButton, PtzButton::Right);
  ptz(SelectButton, PtzButton::Select);
  ptz(OSDOnSpeed, PtzButton::OsdOn);
  ptz(ColSpeed, PtzButton::Colour);
  ptz(WBSpeed, PtzButton::WhiteBalance);

  InstallIdEditRules(IdEdit);
  InstallHelpKey(this);
}

void TForm1::ConnectTimers() {
  connect(ExistTimer, &QTimer::timeout, this, [this] { ExistTimerTimer(); });
  connect(QamProtocolTimer, &QTimer::timeout, this, [this] { QamProtocolTimerTimer(); });
  connect(PasswordTime, &QTimer::timeout, this, [this] { PasswordTimeTimer(); });
}

void TForm1::CreateKeyBoardAndImageDelayForms() {
  if (!KeyBoardForm) KeyBoardForm = new TKeyBoardForm(IdEdit, this);
  if (!ImageDelayForm) ImageDelayForm = new TImageDelayForm(*qam_, LinkState, this);
}

void TForm1::SetPanelCaptions() {
  for (const auto& [control, label] : panelLabels_) label->setText(PanelCaption(control));
}

void TForm1::SetHints() {
  const auto hintOf = [](uint8_t item) { return QString::fromLatin1(FindCameraItem(item)->hint); };
  for (const auto& [control, list] : panelLists_) {
    list->setToolTip(QString::fromLatin1(ItemOfControl(control)->hint));
  }
  IdEdit->setToolTip(hintOf(kItemId));
  RedNumEdit->setToolTip(hintOf(kItemRedGain));
  BlueNumEdit->setToolTip(hintOf(kItemBlueGain));
}

QString TForm1::StatusText(int panel) const {
  return panel >= 0 && panel < static_cast<int>(StatusPanels.size()) ? StatusPanels[panel]->text()
                                                                     : QString();
}

CameraPanel& TForm1::Panel() {
  return *panel_;
}

const CameraPanel& TForm1::Panel() const {
  return *panel_;
}

LinkWindow& TForm1::LinkView() {
  return *linkWindow_;
}

const LinkWindow& TForm1::LinkView() const {
  return *linkWindow_;
}

void TForm1::FormCreate() {
  PasswordTime->start();
  qam_->ProtocolSpeedStep = QamProtocol::kSweepIdle;
}

uint8_t TForm1::ProtocolSpeedStep() const {
  return qam_->ProtocolSpeedStep;
}

void TForm1::closeEvent(QCloseEvent* event) {
  // FormClose: the line settings survive the run, also a refused start.
  SavePortDat();
  event->accept();
  emit Closed();
}

void TForm1::PasswordTimeTimer() {
  PasswordTimeTick(CloseRequested, this, PasswordTime);
}

void TForm1::KeyboardSpeedClick() {
  if (KeyBoardForm) KeyBoardForm->ShowKeyBoard();
  IdEdit->setFocus();
}

void TForm1::Comm1RxChar(uint32_t count) {
  qam_->Comm1RxChar(count);
}

void TForm1::Comm1TxEmpty() {
  qam_->Comm1TxEmpty();
}

void TForm1::ExistTimerTimer() {
  qam_->ExistTimerTimer();
}

void TForm1::QamProtocolTimerTimer() {
  qam_->QamProtocolTimerTimer();
}

void TForm1::ReadButtonClick() {
  qam_->ReadButtonClick();
}

void TForm1::WriteButtonClick() {
  qam_->WriteButtonClick();
}

void TForm1::GetRS422SETS1Click() {
  qam_->GetRS422SETS1Click();
}

void TForm1::ProtocolSpeedClick() {
  qam_->ProtocolSpeedClick();
}

void TForm1::Open1Click() {
  setWindowTitle(OpenSettingsFile(this, *panel_, LinkState, LinkBusy(), windowTitle()));
}

void TForm1::SaveAs1Click() {
  setWindowTitle(SaveSettingsFileAs(this, *panel_, LinkState, LinkBusy(), windowTitle()));
}

void TForm1::ImageTimeClick() {
  if (ImageDelayForm) ImageDelayForm->ImageTimeClick();
}

void TForm1::ChangPasswordClick() {
  RunChangePassword(programFolder_, this);
}

void TForm1::Help1Click() {
  ::Help1Click(this);
}

void TForm1::about2Click() {
  RunAboutBox(this);
}

bool TForm1::LinkBusy() const {
  return ::LinkBusy(LinkState);
}
