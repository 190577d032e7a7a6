// The camera link's view of the windows: status texts, lamps, the transfer
// buttons, the address lists and the Baud rate and Protocol menus of the main
// window, and the image delay dialog's status, lamp and buttons.
#pragma once

#include "link/link_services.h"

class TForm1;

class ControlLinkWindow final : public LinkWindow {
 public:
  explicit ControlLinkWindow(TForm1& form) : form_(form) {}

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

 private:
  TForm1& form_;
};
