// Why a port could not be opened, in words a user can act on.
#pragma once

#include <string>

// "port missing: PATH", "no permission ..." (naming the dialout group) or
// "port busy: PATH" for the device the name resolves to.
std::string PortProblem(const std::string& path);
