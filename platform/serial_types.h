// Plain records of the serial layer: line settings, time-outs, device status
// and the codes the serial component passes in. Field names follow the
// records the component was designed around, so its logic reads unchanged.
#pragma once

#include <cstdint>

// Line settings of an open device.
struct SerialLineSettings {
  uint32_t BaudRate = 9600;  // bits per second
  bool fBinary = true;
  bool fParity = false;  // parity checking of received bytes
  bool fOutxCtsFlow = false;
  bool fOutxDsrFlow = false;
  uint8_t fDtrControl = 1;  // 0 off, 1 on, 2 handshake
  bool fDsrSensitivity = false;
  bool fTXContinueOnXoff = false;
  bool fOutX = false;  // XON/XOFF on transmit
  bool fInX = false;   // XON/XOFF on receive
  bool fErrorChar = false;
  bool fNull = false;
  uint8_t fRtsControl = 1;  // 0 off, 1 on, 2 handshake, 3 toggle
  bool fAbortOnError = false;
  uint16_t XonLim = 2048;
  uint16_t XoffLim = 512;
  uint8_t ByteSize = 8;  // 5..8
  uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  uint8_t XonChar = 0x11;
  uint8_t XoffChar = 0x13;
  uint8_t ErrorChar = 0;
  uint8_t EofChar = 0;
  uint8_t EvtChar = 0;
};

// Time-outs of Read and Write, in milliseconds.
struct SerialTimeouts {
  uint32_t ReadIntervalTimeout = 0;
  uint32_t ReadTotalTimeoutMultiplier = 0;
  uint32_t ReadTotalTimeoutConstant = 0;
  uint32_t WriteTotalTimeoutMultiplier = 0;
  uint32_t WriteTotalTimeoutConstant = 0;
};

// Device status as the error query reports it.
struct SerialStatus {
  bool fCtsHold = false;
  bool fDsrHold = false;
  bool fRlsdHold = false;
  bool fXoffHold = false;
  bool fXoffSent = false;
  bool fEof = false;
  bool fTxim = false;
  uint32_t cbInQue = 0;   // bytes waiting to be read
  uint32_t cbOutQue = 0;  // bytes waiting to be sent
};

// Event bits of the event wait.
namespace serial_event {
constexpr uint32_t RxChar = 0x0001;
constexpr uint32_t RxFlag = 0x0002;
constexpr uint32_t TxEmpty = 0x0004;
constexpr uint32_t Cts = 0x0008;
constexpr uint32_t Dsr = 0x0010;
constexpr uint32_t Rlsd = 0x0020;
constexpr uint32_t Break = 0x0040;
constexpr uint32_t Err = 0x0080;
constexpr uint32_t Ring = 0x0100;
constexpr uint32_t All = 0x01FF;
// The device has gone (hung up, unplugged): reported once, whatever the mask.
constexpr uint32_t Gone = 0x10000;
}  // namespace serial_event

// Error flag word bits of the error query.
namespace serial_error {
constexpr uint32_t RxOver = 0x0001;
constexpr uint32_t Overrun = 0x0002;
constexpr uint32_t RxParity = 0x0004;
constexpr uint32_t Frame = 0x0008;
constexpr uint32_t Break = 0x0010;
}  // namespace serial_error

// Purge flags.
namespace serial_purge {
constexpr uint32_t TxAbort = 0x01;
constexpr uint32_t RxAbort = 0x02;
constexpr uint32_t TxClear = 0x04;
constexpr uint32_t RxClear = 0x08;
}  // namespace serial_purge

// Escape function codes.
namespace serial_escape {
constexpr int32_t SetXoff = 1;
constexpr int32_t SetXon = 2;
constexpr int32_t SetRts = 3;
constexpr int32_t ClrRts = 4;
constexpr int32_t SetDtr = 5;
constexpr int32_t ClrDtr = 6;
constexpr int32_t SetBreak = 8;
constexpr int32_t ClrBreak = 9;
}  // namespace serial_escape

// Modem input bits.
namespace serial_modem {
constexpr uint32_t CtsOn = 0x10;
constexpr uint32_t DsrOn = 0x20;
constexpr uint32_t RingOn = 0x40;
constexpr uint32_t RlsdOn = 0x80;
}  // namespace serial_modem
