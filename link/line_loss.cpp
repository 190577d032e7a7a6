#include "link/line_loss.h"

std::string LineLostText(const LineLoss& loss) {
  return "The line was lost at address " + std::to_string(loss.address) + ", " +
         std::to_string(loss.baud) + " baud";
}
