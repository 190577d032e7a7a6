#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "platform/serial_shared.h"

void CollectLineCounters(int fd, SerialShared& shared) {
  if (shared.icountState == 0) return;
  serial_icounter_struct c{};
  if (ioctl(fd, TIOCGICOUNT, &c) != 0) {
    // Pseudo-terminals and many adapters keep no counters.
    if (NotSupported(errno)) shared.icountState = 0;
    return;
  }
  const int now[9] = {c.cts,     c.dsr,    c.rng, c.dcd,        c.frame,
                      c.overrun, c.parity, c.brk, c.buf_overrun};
  if (shared.icountState == 1) {
    const int* last = shared.lastIcount;
    uint32_t ev = 0;
    uint32_t err = 0;
    if (now[0] != last[0]) ev |= serial_event::Cts;
    if (now[1] != last[1]) ev |= serial_event::Dsr;
    if (now[2] != last[2]) ev |= serial_event::Ring;
    if (now[3] != last[3]) ev |= serial_event::Rlsd;
    if (now[4] != last[4]) err |= serial_error::Frame;
    if (now[5] != last[5]) err |= serial_error::Overrun;
    if (now[6] != last[6]) err |= serial_error::RxParity;
    if (now[7] != last[7]) {
      err |= serial_error::Break;
      ev |= serial_event::Break;
    }
    if (now[8] != last[8]) err |= serial_error::RxOver;
    if (err & ~serial_error::Break) ev |= serial_event::Err;
    shared.errors |= err;
    shared.lineEvents |= ev;
  }
  for (int i = 0; i < 9; ++i) shared.lastIcount[i] = now[i];
  shared.icountState = 1;
}
