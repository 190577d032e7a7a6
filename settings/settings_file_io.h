// Reading and writing whole settings files, with the reason of any failure
// for the user.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct FileOutcome {
  bool ok = true;
  std::string reason;      // why it failed, in words
  bool badFormat = false;  // read, but no file the program writes looks like it
};

// No settings file line is anywhere near this long.
constexpr size_t kMaxSettingsLineBytes = 4096;

// Writes `bytes` to a new file beside `path` and renames it over `path`, so an
// existing file is either replaced whole or left as it was. A file without any
// write permission is refused rather than replaced. The file keeps the mode it
// had, unless `mode` gives the one it must have.
FileOutcome ReplaceFile(const std::string& path, const std::string& bytes,
                        std::optional<unsigned> mode = std::nullopt);

// Reads the first maxLines lines of a regular file (line ends CR LF, LF or
// CR). Anything else (a device, a FIFO) is refused unopened, since reading it
// may never end; a line longer than kMaxSettingsLineBytes is a bad format.
FileOutcome ReadFileLines(const std::string& path, size_t maxLines,
                          std::vector<std::string>& lines);

// Whether ReplaceFile(path, ...) could take its place, asked before the bytes
// exist (before a camera is read): its folder exists and may be written, and
// what is there, or what a link there names, is a regular file that may be
// written. The reason when not.
FileOutcome CheckReplaceTarget(const std::string& path);
