// The windows as the camera link sees them, in memory: status panels, lamps,
// transfer buttons, address lists, Baud rate and Protocol menus and the modal
// notices, each change recorded with its virtual time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/camera_items.h"
#include "link/link_services.h"
#include "tests/link/support/virtual_clock.h"

enum class StatusPanel { Main, Dialog, Baud, Protocol };

struct StatusEntry {
  VirtualUs time;
  StatusPanel panel;
  std::string text;
};

struct NoticeEntry {
  VirtualUs time;
  std::string text;
};

class FakeWindow : public LinkWindow {
 public:
  explicit FakeWindow(const VirtualClock& clock) : clock_(clock) {}

  void SetMainStatus(const std::string& text) override;
  void SetDialogStatus(const std::string& text) override;
  void SetLamp(LampColour colour) override;
  LampColour Lamp() const override { return lamp; }
  void SetDelayLamp(LampColour colour) override;
  LampColour DelayLamp() const override { return delayLamp; }
  void SetTransferButtonsEnabled(bool enabled) override;
  void ShowAddress(uint8_t address) override;
  bool BaudChecked(uint8_t code) const override { return code < 4 && baudChecks[code]; }
  void CheckBaud(uint8_t code) override;
  bool ProtocolChecked(uint8_t code) const override {
    return code < protocolChecks.size() && protocolChecks[code];
  }
  void CheckProtocol(uint8_t code) override;
  void ShowInformation(const std::string& text) override;

  // Current state.
  std::string mainStatus, dialogStatus, baudStatus, protocolStatus;
  LampColour lamp = LampColour::Red;
  LampColour delayLamp = LampColour::Red;
  bool buttonsEnabled = false;
  // HundredAdd, TenAdd, UnitAdd positions; -1 is no selection.
  int hundredAdd = 0, tenAdd = 0, unitAdd = 1;
  bool baudChecks[4] = {false, false, false, true};
  std::vector<bool> protocolChecks = [] {
    std::vector<bool> checks(PtzProtocolCount(), false);
    checks[kProtocolPelcoD] = true;
    return checks;
  }();

  // Records.
  std::vector<StatusEntry> statusLog;
  std::vector<NoticeEntry> notices;
  struct LampEntry {
    VirtualUs time;
    LampColour colour;
  };
  std::vector<LampEntry> lampLog;
  std::vector<bool> buttonLog;
  // Runs while a notice is open (the modal loop); nothing by default.
  std::function<void(const std::string&)> whileNoticeOpen;

  // The texts one panel received, in order.
  std::vector<std::string> Texts(StatusPanel panel) const;
  void ClearRecords();

 private:
  void Log(StatusPanel panel, const std::string& text);
  const VirtualClock& clock_;
};
