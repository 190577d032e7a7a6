// The five special characters of the line settings, owned by the component.
#pragma once

#include <cstdint>

class TThreadComm;

class TCommEventChars {
 public:
  explicit TCommEventChars(TThreadComm* owner);

  uint8_t XOnChar() const { return chars_[0]; }
  uint8_t XOffChar() const { return chars_[1]; }
  uint8_t ErrorChar() const { return chars_[2]; }
  uint8_t EofChar() const { return chars_[3]; }
  uint8_t EvtChar() const { return chars_[4]; }
  void SetXOnChar(uint8_t value) { SetByIndex(1, value); }
  void SetXOffChar(uint8_t value) { SetByIndex(2, value); }
  void SetErrorChar(uint8_t value) { SetByIndex(3, value); }
  void SetEofChar(uint8_t value) { SetByIndex(4, value); }
  void SetEvtChar(uint8_t value) { SetByIndex(5, value); }

  // Index 1..5 (XOnChar .. EvtChar); stores, then applies the owner's line
  // settings (nothing while the port is closed). Other indices store nothing.
  void SetByIndex(int index, uint8_t value);
  // Copies the five characters without applying them.
  void Assign(const TCommEventChars& source);

 private:
  TThreadComm* owner_;
  uint8_t chars_[5] = {17, 19, 0, 0, 0};
};
