// Feeds the password store's reader arbitrary "data.dat" contents. Whatever
// the file holds, reading never fails; a password the store can carry comes
// back from the store unchanged; and the preset password always passes.
// needs: zelta_settings
// sources: ui/dialogs/password_store.cpp

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/dialogs/password_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string stored = DecodePassword(bytes);

  // Decoding stops at the first 0xFF byte and keeps everything before it.
  const size_t end = bytes.find('\xFF');
  const std::string kept = bytes.substr(0, end);
  if (stored.size() != kept.size()) std::abort();
  if (EncodePassword(stored) != kept) std::abort();

  if (IsStorablePassword(stored) && DecodePassword(EncodePassword(stored)) != stored) std::abort();

  const std::u16string preset = u"MAVROQ";
  if (!CurrentPasswordPasses(preset, stored, preset)) std::abort();
  // An empty store matches nothing but the preset.
  if (stored.empty() && CurrentPasswordPasses(u"", stored, preset)) std::abort();
  if (!stored.empty() && !CurrentPasswordPasses(stored, stored, preset)) std::abort();
  return 0;
}
