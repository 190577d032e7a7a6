// Where the program keeps "Port.dat" and the Com1/Com2 links: beside the
// executable for a build from source, per user for the package, so
// zelta-cli finds the same ports as the window.
#pragma once

#include <string>

std::string ProgramFilesFolder();

// Why the folder may not be used (it belongs to another user, or others may
// write in it and it cannot be made private); empty when it may. Asked before
// anything is read from it.
std::string FilesFolderProblem();
