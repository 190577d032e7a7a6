#include "settings/multi_write_report.h"

#include <cstdint>

const char* const kMultiWriteReportHeader =
    "Address,Result,Time (ms),Written,Port,Baud rate,Settings file";

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

// A field with a comma, a quote or a line break goes in quotes, its quotes doubled.
std::string Field(const std::string& bytes) {
  const std::string text = Utf8(bytes);
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Local time as spreadsheets read it: "2026-12-09 14:03:27".
std::string LocalTime(std::time_t when) {
  std::tm parts{};
  char text[32] = "";
  if (::localtime_r(&when, &parts) != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  }
  return text;
}

}  // namespace

std::string MultiWriteReportText(const MultiWriteReportRun& run,
                                 const std::vector<MultiWriteResult>& rows) {
  // The same for every row.
  const std::string runFields = "," + Field(LocalTime(run.started)) + "," + Field(run.port) + "," +
                                std::to_string(run.baud) + "," + Field(run.settingsFile);
  std::string text = std::string(kMultiWriteReportHeader) + "\r\n";
  for (const MultiWriteResult& row : rows) {
    text += std::to_string(row.address) + "," + Field(row.text) + "," + std::to_string(row.ms) +
            runFields + "\r\n";
  }
  return text;
}
