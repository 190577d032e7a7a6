#include "headless/headless_window.h"

void HeadlessWindow::SetMainStatus(const std::string& text) {
  mainStatus = text;
  // The progress texts of a long run would pile up; only the outcome matters.
  if (mainLog.size() < 4096) mainLog.push_back({Clock::now(), text});
}
