#include "cli/port_problem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::string PortProblem(const std::string& path) {
  struct stat st {};
  // stat follows a Com1 link: a link to an unplugged adapter is missing too.
  if (::stat(path.c_str(), &st) != 0) return "port missing: " + path;
  if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
    return "no permission to open " + path +
           ": join the dialout group (sudo adduser $USER dialout), then log in again";
  }
  // It exists and may be opened: another program holds it.
  return "port busy: " + path;
}

std::string LineLostProblem(const LineLoss* loss) {
  if (!loss) return "the port has gone: it hung up or its adapter was unplugged";
  std::string text = LineLostText(*loss);
  text[0] = 't';
  return text + ": the port hung up or its adapter was unplugged";
}
