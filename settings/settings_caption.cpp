#include "settings/settings_caption.h"

const char* const kUntitledCaption = " - Untitled.TXT";

std::string FileCaption(const std::string& path) {
  const size_t slash = path.rfind('/');
  return " - " + (slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string CaptionFileName(const std::string& caption) {
  const std::string lead = " - ";
  return caption.compare(0, lead.size(), lead) == 0 ? caption.substr(lead.size()) : caption;
}

std::string ProposedFileName(const std::string& caption) {
  const size_t blank = caption.rfind(' ');
  return blank == std::string::npos ? caption : caption.substr(blank + 1);
}
