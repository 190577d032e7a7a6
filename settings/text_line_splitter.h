// Cuts text fed in pieces into lines at CR LF, LF or CR, up to a number of
// lines, so that only the part of a file that matters is ever held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TextLineSplitter {
 public:
  explicit TextLineSplitter(size_t maxLines, size_t maxLineBytes = SIZE_MAX)
      : maxLines_(maxLines), maxLineBytes_(maxLineBytes) {}

  void Feed(const char* data, size_t size);
  // True once maxLines lines are complete, or a line grew past maxLineBytes:
  // further input is not needed.
  bool Full() const { return lines_.size() >= maxLines_ || lineTooLong_; }
  bool LineTooLong() const { return lineTooLong_; }
  // The lines; a last line without a line end counts, a line end after the
  // last line adds no empty line.
  std::vector<std::string> Finish();

 private:
  size_t maxLines_;
  size_t maxLineBytes_;
  bool lineTooLong_ = false;
  std::vector<std::string> lines_;
  std::string line_;
  bool open_ = false;     // characters since the last line end
  bool afterCr_ = false;  // an LF right after a CR ends no further line
};
