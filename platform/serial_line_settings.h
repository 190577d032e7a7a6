// Line settings record <-> termios of a terminal. Internal to the serial layer.
#pragma once

#include <cstdint>

#include "platform/serial_types.h"

// Sets the terminal raw (no echo, no translation, no flow control, CLOCAL,
// CREAD; a read without data fails with EAGAIN).
int MakeTerminalRaw(int fd);
// Fills the fields of settings that the terminal holds; leaves the others.
int ReadLineSettings(int fd, SerialLineSettings& settings);
int WriteLineSettings(int fd, const SerialLineSettings& settings);
// Bits one character takes on the line: start, data, parity and stop bits.
uint32_t CharacterBits(const SerialLineSettings& settings);
