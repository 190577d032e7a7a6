#include "comm/comm_event_chars.h"

#include "comm/thread_comm.h"

TCommEventChars::TCommEventChars(TThreadComm* owner) : owner_(owner) {}

void TCommEventChars::SetByIndex(int index, uint8_t value) {
  if (index >= 1 && index <= 5) chars_[index - 1] = value;
  if (owner_ != nullptr) owner_->UpdateDataControlBlock();
}

void TCommEventChars::Assign(const TCommEventChars& source) {
  for (int i = 0; i < 5; ++i) chars_[i] = source.chars_[i];
}
