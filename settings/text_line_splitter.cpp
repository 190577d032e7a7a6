#include "settings/text_line_splitter.h"

void TextLineSplitter::Feed(const char* data, size_t size) {
  for (size_t i = 0; i < size && !Full(); ++i) {
    const char c = data[i];
    if (c == '\n' && afterCr_) {
      afterCr_ = false;
      continue;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
      lines_.push_back(std::move(line_));
      line_.clear();
      open_ = false;
    } else if (line_.size() >= maxLineBytes_) {
      lineTooLong_ = true;
    } else {
      line_ += c;
      open_ = true;
    }
  }
}

std::vector<std::string> TextLineSplitter::Finish() {
  if (open_ && !Full()) lines_.push_back(std::move(line_));
  line_.clear();
  open_ = false;
  return std::move(lines_);
}
