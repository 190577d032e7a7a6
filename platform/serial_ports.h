// The serial devices present on this machine, for choosing the adapter that
// COM1 or COM2 stands for.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Where to look; tests put folders of pseudo-terminals in place of these.
struct SerialPortScan {
  std::string dev = "/dev";                    // device nodes; stable USB names under serial/by-id
  std::string sysClassTty = "/sys/class/tty";  // tells fitted ttyS ports from empty slots
  // Whether this user may open a device for reading and writing.
  std::function<bool(const std::string& path)> mayOpen;
};

struct SerialPortInfo {
  std::string path;        // what COM1/COM2 should name: the stable by-id path when there is one
  std::string deviceName;  // the kernel's name, e.g. ttyUSB0
  std::string maker;       // from the stable name; empty without one
  std::string product;
  bool mayOpen = false;
};

// Adapters with a stable name first, then ttyUSB, ttyACM and fitted ttyS ports,
// each group by number.
std::vector<SerialPortInfo> ListSerialPorts(const SerialPortScan& scan = {});

// Maker and product from a /dev/serial/by-id name, where udev writes the USB
// descriptor strings with blanks as underscores:
// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" gives "FTDI" and
// "FT232R USB UART A50285BI".
void SplitByIdName(const std::string& name, std::string& maker, std::string& product);
