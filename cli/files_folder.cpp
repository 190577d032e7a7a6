#include "cli/files_folder.h"

#include <cstdlib>

#include "platform/device_names.h"
#include "settings/private_folder.h"

std::string ProgramFilesFolder() {
#ifdef ZELTA_PER_USER_FILES
  // $XDG_CONFIG_HOME/zelta, or ~/.config/zelta when it is unset or relative.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/zelta";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config/zelta";
#else
  return ExecutableFolder();
#endif
}

std::string FilesFolderProblem() {
#ifdef ZELTA_PER_USER_FILES
  return MakeFolderPrivate(ProgramFilesFolder());
#else
  // A build from source keeps its files in its own build folder.
  return {};
#endif
}
