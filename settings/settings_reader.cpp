#include "settings/settings_reader.h"

#include <algorithm>
#include <climits>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "settings/text_line_splitter.h"

namespace {

// Plain decimal digits with an optional leading "-", within the range of int.
bool ParseInteger(const std::string& text, int& number) {
  size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) at = 1;
  if (at == text.size()) return false;
  long long value = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return false;
  number = static_cast<int>(value);
  return true;
}

bool NumberFits(const SettingsLine& line, ItemKind kind, int number) {
  // A camera may report the delay code 0x50, which Save As writes as 80.
  if (kind == ItemKind::Delay && number == kDelayCodeSpecial) return true;
  if (number >= line.limit) return false;
  // Save As never writes a negative gain or delay code; a list without a
  // selection is saved as -1.
  return kind == ItemKind::List || number >= 0;
}

// The byte of a camera report; negative positions stay without a selection.
uint8_t ReportValue(int number) {
  return number < 0 || number > 0xFF ? 0xFF : static_cast<uint8_t>(number);
}

}  // namespace

std::vector<std::string> SplitSettingsLines(const std::string& text, size_t maxLines) {
  TextLineSplitter splitter(maxLines);
  splitter.Feed(text.data(), text.size());
  return splitter.Finish();
}

bool CheckSettingsLines(const std::vector<std::string>& lines, SettingsValues& values,
                        SettingsFileError& error, const std::vector<size_t>& formats) {
  const auto& fileLines = SettingsLines();
  SettingsValues checked;
  for (size_t i = 0; i < fileLines.size(); ++i) {
    const SettingsLine& line = fileLines[i];
    const ItemKind kind = FindCameraItem(line.item)->kind;
    const size_t number = i + 2;
    if (number > lines.size() && std::find(formats.begin(), formats.end(), i) != formats.end()) {
      checked.lines = i;
      break;
    }
    static const std::string kMissing;
    const std::string& text = number <= lines.size() ? lines[number - 1] : kMissing;
    error = SettingsFileError{SettingsFileError::Kind::Format, static_cast<int>(number), {}};

    const size_t amp = text.rfind('&');
    if (amp == std::string::npos) return false;
    const std::string value = text.substr(amp + 1);

    if (kind == ItemKind::IdText) {
      for (const char c : value) {
        if (!IsFileIdChar(c)) return false;
      }
      checked.id = value;
      continue;
    }
    int parsed = 0;
    if (!ParseInteger(value, parsed)) {
      error.kind = SettingsFileError::Kind::NotInteger;
      error.value = value;
      return false;
    }
    if (!NumberFits(line, kind, parsed)) return false;
    checked.numbers[i] = parsed;
  }
  values = std::move(checked);
  error = SettingsFileError{};
  return true;
}

void ApplySettings(const SettingsValues& values, CameraPanel& panel, CameraLinkState& state) {
  const auto& fileLines = SettingsLines();
  for (size_t i = 0; i < values.lines && i < fileLines.size(); ++i) {
    const uint8_t code = fileLines[i].item;
    const CameraItem& item = *FindCameraItem(code);
    const int number = values.numbers[i];
    switch (item.kind) {
      case ItemKind::List:
        if (code == kItemShutter) {
          ApplyShutterReport(panel, ReportValue(number));
        } else if (code == kItemSync) {
          ApplySyncReport(panel, ReportValue(number));
        } else {
          panel.SetItemIndex(item.control, number);
          if (code == kItemWhiteBal) ShowWhiteBalance(panel);
        }
        break;
      case ItemKind::IdText:
        panel.SetIdEditText(values.id);
        break;
      case ItemKind::Gain:
        panel.SetPosition(item.control, number);
        break;
      case ItemKind::Delay:
        (code == kItemColToWb ? state.ColToWbCode : state.WbToColCode) =
            static_cast<uint8_t>(number);
        break;
    }
  }
}
