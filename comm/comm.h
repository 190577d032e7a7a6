// Unit Comm: the serial port component as the windows use it.
#pragma once

#include "comm/comm_error.h"
#include "comm/comm_event_chars.h"
#include "comm/comm_event_thread.h"
#include "comm/comm_hand_over.h"
#include "comm/comm_types.h"
#include "comm/thread_comm.h"

// TThreadComm with its properties published; adds nothing.
class TComm : public TThreadComm {
 public:
  using TThreadComm::TThreadComm;
};
