// The windows as the camera link sees them, in memory, for programs without a
// display: status texts and lamps with the time they changed.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "link/link_services.h"

class HeadlessWindow : public LinkWindow {
 public:
  using Clock = std::chrono::steady_clock;

  struct StatusChange {
    Clock::time_point time;
    std::string text;
  };

  void SetMainStatus(const std::string& text) override;
  void SetDialogStatus(const std::string& text) override { dialogStatus = text; }
  void SetLamp(LampColour colour) override { lamp = colour; }
  LampColour Lamp() const override { return lamp; }
  void SetDelayLamp(LampColour colour) override { delayLamp = colour; }
  LampColour DelayLamp() const override { return delayLamp; }
  void SetTransferButtonsEnabled(bool enabled) override { buttonsEnabled = enabled; }
  void ShowAddress(uint8_t address) override { shownAddress = address; }
  bool BaudChecked(uint8_t code) const override { return code == baudCode; }
  void CheckBaud(uint8_t code) override { baudCode = code; }
  bool ProtocolChecked(uint8_t code) const override { return code == protocolCode; }
  void CheckProtocol(uint8_t code) override { protocolCode = code; }
  void ShowInformation(const std::string& text) override { notices.push_back(text); }

  std::string mainStatus, dialogStatus;
  LampColour lamp = LampColour::Red;
  LampColour delayLamp = LampColour::Red;
  bool buttonsEnabled = false;
  uint8_t shownAddress = 1;
  uint8_t baudCode = 3;
  uint8_t protocolCode = 0;
  std::vector<std::string> notices;
  // Main status texts since the last ClearLog.
  std::vector<StatusChange> mainLog;
  void ClearLog() { mainLog.clear(); }
};
