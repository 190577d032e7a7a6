// Why a port could not be opened, in words a user can act on.
#pragma once

#include <string>

#include "link/line_loss.h"

// "port missing: PATH", "not a serial device: PATH" (a folder, a file, a
// device that is no terminal), "no permission ..." (naming the dialout
// group) or "port busy: PATH" for the device the name resolves to.
std::string PortProblem(const std::string& path);

// "the line was lost at address 27, 4800 baud: the port hung up or its adapter
// was unplugged"; without a place, that the port has gone.
std::string LineLostProblem(const LineLoss* loss);
