// Where the program keeps "Port.dat" and the Com1/Com2 links: beside the
// executable for a build from source, per user for the package, so
// zelta-cli finds the same ports as the window.
#pragma once

#include <string>

std::string ProgramFilesFolder();
