// Feeds the settings file reader arbitrary files. A file either passes every
// check and then loads whole, and saving that panel gives a file that loads
// back to the same panel, or it is refused before anything is applied.
// needs: zelta_settings

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/camera_panel.h"
#include "link/memory_panel.h"
#include "settings/settings_reader.h"
#include "settings/settings_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SettingsValues values;
  SettingsFileError error;
  if (!CheckSettingsLines(SplitSettingsLines(text, kSettingsFileLines), values, error)) {
    if (error.line < 2 || error.line > static_cast<int>(kSettingsFileLines)) std::abort();
    return 0;
  }

  MemoryPanel panel;
  CameraLinkState state{};
  SetPanelDefaults(panel, state);
  ApplySettings(values, panel, state);
  const std::string saved = SettingsFileText(panel, state);

  SettingsValues again;
  // Only a camera can put a character outside the ID set into the panel, so
  // what a loaded file gives must always save and load again.
  if (!CheckSettingsLines(SplitSettingsLines(saved, kSettingsFileLines), again, error)) {
    std::abort();
  }
  MemoryPanel reloaded;
  CameraLinkState reloadedState{};
  SetPanelDefaults(reloaded, reloadedState);
  ApplySettings(again, reloaded, reloadedState);
  if (SettingsFileText(reloaded, reloadedState) != saved) std::abort();
  return 0;
}
