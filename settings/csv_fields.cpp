#include "settings/csv_fields.h"

#include <cstdint>

namespace {

// Bytes of a sequence after its lead byte, or -1 when it cannot lead one.
int FollowingBytes(uint8_t lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

// A file name is bytes: what is not UTF-8 becomes U+FFFD, so the report stays
// a text file every reader opens.
std::string Utf8(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    const int more = FollowingBytes(lead);
    bool whole = more >= 0 && i + more < bytes.size();
    for (int k = 1; whole && k <= more; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + k]);
      // The second byte also rules out overlong forms, surrogates and beyond U+10FFFF.
      const uint8_t low = k > 1 ? 0x80 : lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
      const uint8_t high = k > 1 ? 0xBF : lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
      whole = next >= low && next <= high;
    }
    if (whole) {
      text.append(bytes, i, static_cast<size_t>(more) + 1);
      i += static_cast<size_t>(more) + 1;
    } else {
      text += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return text;
}

}  // namespace

// A field with a comma, a quote or a line break goes in quotes, its quotes doubled.
std::string CsvField(const std::string& bytes) {
  const std::string text = Utf8(bytes);
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Local time as spreadsheets read it: "2026-12-09 14:03:27".
std::string CsvLocalTime(std::time_t when) {
  std::tm parts{};
  char text[32] = "";
  if (::localtime_r(&when, &parts) != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  }
  return text;
}

std::vector<std::string> CsvSplitRow(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        cells.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}
