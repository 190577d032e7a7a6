// Line selection: the Port, Baud rate and Protocol menus, opening the port
// with its fall-back to the other one, and "Port.dat" beside the program.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <optional>

#include "comm/comm.h"
#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "platform/device_names.h"
#include "settings/port_dat.h"
#include "settings/settings_file_io.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/control_link_window.h"
#include "ui/widgets/choice_group.h"
#include "ui/widgets/message_box.h"

namespace {

constexpr char kCom1[] = "Com1";
constexpr char kCom2[] = "Com2";
constexpr char kNoCom1[] = "There is not COM1 on PC or other software is using.";
constexpr char kNoCom2[] = "There is not COM2 on PC or other software is using.";
constexpr char kNoPort[] =
    "There is not serial port on PC or other software is using.\r\nZELTA does't work.";

void ShowPortError(QWidget* parent, const char* text) {
  ShowError(QString::fromLatin1(text), parent);
}

// The serial component's rate of a speed code; every row of the speed table
// has one.
TBaudRate BaudRateOfCode(uint8_t code) {
  return BaudRateOfSpeed(BaudOfCode(code)).value();
}

}  // namespace

QString TForm1::PortClosedText() const {
  return QString::fromLatin1(Comm1->DeviceName() == kCom2 ? kNoCom2 : kNoCom1);
}

QString TForm1::PortDatPath() const {
  return QDir(programFolder_).filePath(QStringLiteral("Port.dat"));
}

void TForm1::ShowComPort() {
  if (Comm1->DeviceName() == kCom1) {
    SelectCom(true);
  } else if (Comm1->DeviceName() == kCom2) {
    SelectCom(false);
  }
}

void TForm1::SelectCom(bool com1) {
  portChoice_->Mark(com1 ? SerialCOM1 : SerialCOM2);
  StatusPanels[0]->setText(com1 ? QStringLiteral("Com Port : COM1")
                                : QStringLiteral("Com Port : COM2"));
}

void TForm1::OpenComPort() {
  if (Comm1->Enabled()) return;
  Comm1->Open();
  if (!Comm1->Enabled()) {
    Comm1->Close();
    if (Comm1->DeviceName() == kCom2) {
      ShowPortError(this, kNoCom2);
      Comm1->SetDeviceName(kCom1);
    } else {
      ShowPortError(this, kNoCom1);
      Comm1->SetDeviceName(kCom2);
    }
    ShowComPort();
    Comm1->Open();
    if (!Comm1->Enabled()) {
      Comm1->Close();
      ShowPortError(this, kNoPort);
      // The menu and status bar show the saved settings again.
      LoadPortDat();
      return;
    }
  }
  Comm1->SetRTSState(true);
  Comm1->SetDTRState(true);
}

void TForm1::ChoosePort(const std::string& chosen, const std::string& other,
                        const char* missingText) {
  if (LinkBusy()) return;
  if (Comm1->DeviceName() == chosen) return;
  SwitchPort(chosen, other, missingText);
}

void TForm1::SwitchPort(const std::string& chosen, const std::string& other,
                        const char* missingText) {
  // Another port, or another device behind this one: the one awaited is no more.
  StopAwaitingPort();
  Comm1->Close();
  Comm1->SetDeviceName(chosen);
  ShowComPort();
  Comm1->Open();
  if (!Comm1->Enabled()) {
    Comm1->Close();
    ShowPortError(this, missingText);
    Comm1->SetDeviceName(other);
    ShowComPort();
    Comm1->Open();
    if (!Comm1->Enabled()) {
      Comm1->Close();
      ShowPortError(this, kNoPort);
      return;
    }
  }
  Comm1->SetRTSState(true);
  Comm1->SetDTRState(true);
}

void TForm1::UseAdapter(bool com1, const QString& device) {
  if (LinkBusy()) return;
  const std::string error =
      LinkSerialDeviceName(com1 ? kCom1 : kCom2, QFile::encodeName(programFolder_).toStdString(),
                           QFile::encodeName(device).toStdString());
  if (!error.empty()) {
    ShowError(QFile::decodeName(error.c_str()), this);
    return;
  }
  // The name now leads to another device: open it even when it is the
  // selected port, which choosing it in the menu would leave as it is.
  if (com1) {
    SwitchPort(kCom1, kCom2, kNoCom1);
  } else {
    SwitchPort(kCom2, kCom1, kNoCom2);
  }
}

void TForm1::SerialCOM1Click() {
  ChoosePort(kCom1, kCom2, kNoCom1);
}

void TForm1::SerialCOM2Click() {
  ChoosePort(kCom2, kCom1, kNoCom2);
}

void TForm1::ChooseBaud(uint8_t code) {
  if (LinkBusy() || linkWindow_->BaudChecked(code)) return;
  linkWindow_->CheckBaud(code);
  Comm1->SetBaudRate(BaudRateOfCode(code));
}

void TForm1::UseBaud(uint8_t code) {
  Comm1->SetBaudRate(BaudRateOfCode(code));
  linkWindow_->CheckBaud(code);
}

void TForm1::ChooseProtocol(uint8_t code) {
  if (LinkBusy() || linkWindow_->ProtocolChecked(code)) return;
  linkWindow_->CheckProtocol(code);
}

void TForm1::SavePortDat() {
  const int protocolCode = protocolChoice_->CheckedCode();
  // The speed the user chose, not the one a ProtocolSpeed sweep or a Get
  // Protocol State search happens to be trying when the window closes.
  int baudCode = baudChoice_->CheckedCode();
  if (baudCode < 0) baudCode = CodeOfBaud(BaudRateBitsPerSecond(Comm1->BaudRate()));
  const std::string text = PortDatText(SerialCOM1->isChecked() ? 0 : 1, baudCode, protocolCode);
  const FileOutcome written = ReplaceOwnFile(QFile::encodeName(PortDatPath()).toStdString(), text);
  // The run goes on without the remembered selection; said once, not at
  // every later try.
  if (!written.ok && !portDatFailureShown_) {
    portDatFailureShown_ = true;
    ShowSaveError(PortDatPath(), written.reason, this);
  }
}

void TForm1::ApplyPortDefaults() {
  SelectCom(true);
  Comm1->SetDeviceName(kCom1);
  UseBaud(kBaudCode4800);
  linkWindow_->CheckProtocol(kProtocolPelcoP);
  SavePortDat();
}

void TForm1::LoadPortDat() {
  std::string content;
  // A link, a FIFO or a huge file in its place counts as a missing file.
  if (!ReadOwnFile(QFile::encodeName(PortDatPath()).toStdString(), content).ok) {
    ApplyPortDefaults();
    return;
  }
  const PortDatCodes codes = ReadPortDat(content);

  const std::optional<int>& port = codes.port;
  if (!port || *port >= 2) {
    ApplyPortDefaults();
    return;
  }
  SelectCom(*port == 0);
  Comm1->SetDeviceName(*port == 0 ? kCom1 : kCom2);

  const std::optional<int>& baud = codes.baud;
  if (!baud || !baudChoice_->ItemWithCode(*baud)) {
    ApplyPortDefaults();
    return;
  }
  UseBaud(static_cast<uint8_t>(*baud));

  const std::optional<int>& protocol = codes.protocol;
  if (!protocol || !protocolChoice_->ItemWithCode(*protocol)) {
    ApplyPortDefaults();
    return;
  }
  linkWindow_->CheckProtocol(static_cast<uint8_t>(*protocol));
}
