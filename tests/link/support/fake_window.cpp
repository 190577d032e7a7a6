#include "tests/link/support/fake_window.h"

#include "link/camera_items.h"
#include "link/line_speeds.h"

void FakeWindow::Log(StatusPanel panel, const std::string& text) {
  statusLog.push_back({clock_.Now(), panel, text});
}

void FakeWindow::SetMainStatus(const std::string& text) {
  mainStatus = text;
  Log(StatusPanel::Main, text);
}

void FakeWindow::SetDialogStatus(const std::string& text) {
  dialogStatus = text;
  Log(StatusPanel::Dialog, text);
}

void FakeWindow::SetLamp(LampColour colour) {
  lamp = colour;
  lampLog.push_back({clock_.Now(), colour});
}

void FakeWindow::SetDelayLamp(LampColour colour) {
  delayLamp = colour;
}

void FakeWindow::SetTransferButtonsEnabled(bool enabled) {
  buttonsEnabled = enabled;
  buttonLog.push_back(enabled);
}

void FakeWindow::ShowAddress(uint8_t address) {
  // HundredAdd holds 0..1, the others 0..9.
  const int hundred = address / 100;
  hundredAdd = hundred <= 1 ? hundred : -1;
  tenAdd = (address % 100) / 10;
  unitAdd = address % 10;
}

void FakeWindow::CheckBaud(uint8_t code) {
  for (uint8_t i = 0; i < 4; ++i) baudChecks[i] = i == code;
  baudStatus = BaudRateText(code);
  Log(StatusPanel::Baud, baudStatus);
}

void FakeWindow::CheckProtocol(uint8_t code) {
  for (size_t i = 0; i < protocolChecks.size(); ++i) protocolChecks[i] = i == code;
  protocolStatus = ProtocolText(code);
  Log(StatusPanel::Protocol, protocolStatus);
}

void FakeWindow::ShowInformation(const std::string& text) {
  notices.push_back({clock_.Now(), text});
  if (whileNoticeOpen) whileNoticeOpen(text);
}

std::vector<std::string> FakeWindow::Texts(StatusPanel panel) const {
  std::vector<std::string> texts;
  for (const StatusEntry& entry : statusLog) {
    if (entry.panel == panel) texts.push_back(entry.text);
  }
  return texts;
}

void FakeWindow::ClearRecords() {
  statusLog.clear();
  notices.clear();
  lampLog.clear();
  buttonLog.clear();
}
