#include "cli/port_problem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// A character device that is a terminal. The port's own opening has opened
// it already; this second look only asks.
bool IsTerminalDevice(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return true;  // can not tell: held or refused, said below
  const bool terminal = ::isatty(fd) == 1;
  ::close(fd);
  return terminal;
}

}  // namespace

std::string PortProblem(const std::string& path) {
  struct stat st {};
  // stat follows a Com1 link: a link to an unplugged adapter is missing too.
  if (::stat(path.c_str(), &st) != 0) return "port missing: " + path;
  if (!S_ISCHR(st.st_mode)) return "not a serial device: " + path;
  if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
    return "no permission to open " + path +
           ": join the dialout group (sudo adduser $USER dialout), then log in again";
  }
  if (!IsTerminalDevice(path)) return "not a serial device: " + path;
  // It exists and may be opened: another program holds it.
  return "port busy: " + path;
}

std::string LineLostProblem(const LineLoss* loss) {
  if (!loss) return "the port has gone: it hung up or its adapter was unplugged";
  std::string text = LineLostText(*loss);
  text[0] = 't';
  return text + ": the port hung up or its adapter was unplugged";
}
