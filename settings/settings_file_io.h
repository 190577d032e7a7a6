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
// existing file is either replaced whole or left as it was, and a failure
// (a full disk) leaves no part-written file behind. Only a regular file is
// replaced: a directory, FIFO, device or socket is refused, and so is a file
// without any write permission. A symbolic link stays: the file it names is
// replaced, in that file's folder. The file keeps the mode it had, unless
// `mode` gives the one it must have; the new file has that mode from the
// moment it is made.
FileOutcome ReplaceFile(const std::string& path, const std::string& bytes,
                        std::optional<unsigned> mode = std::nullopt);

// ReplaceFile for the program's own files ("Port.dat", "data.dat"): a
// symbolic link in their place is refused, never written through.
FileOutcome ReplaceOwnFile(const std::string& path, const std::string& bytes,
                           std::optional<unsigned> mode = std::nullopt);

// The checks ReplaceFile makes before it writes anything (the kind of file,
// write permission, the folder), so a command can refuse a path before it
// does any work for it.
FileOutcome CheckReplaceable(const std::string& path);

// One of the program's own files, whole: a regular file of at most
// kMaxOwnFileBytes, not a symbolic link. Anything else is refused unopened or
// unread, so a FIFO or a huge file planted there cannot hold up the start.
constexpr size_t kMaxOwnFileBytes = 4096;
FileOutcome ReadOwnFile(const std::string& path, std::string& bytes);

// Makes an empty file of the program's own (a marker) unless a regular file
// is there already; a link or anything else of that name is refused.
FileOutcome CreateOwnFile(const std::string& path);

// Reads the first maxLines lines of a regular file (line ends CR LF, LF or
// CR). Anything else (a device, a FIFO) is refused unopened, since reading it
// may never end; a line longer than kMaxSettingsLineBytes is a bad format.
FileOutcome ReadFileLines(const std::string& path, size_t maxLines,
                          std::vector<std::string>& lines);
