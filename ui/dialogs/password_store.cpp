#include "ui/dialogs/password_store.h"

#include <system_error>

#include "settings/settings_file_io.h"

namespace {

std::filesystem::path StorePath(const std::filesystem::path& folder) {
  return folder / kPasswordStoreName;
}

std::filesystem::path MarkerPath(const std::filesystem::path& folder) {
  return folder / kNewPasswordMarkerName;
}

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

unsigned char ShiftedByte(char16_t c) {
  return static_cast<unsigned char>((static_cast<unsigned>(c) + kPasswordShift) & 0xFFu);
}

}  // namespace

std::string EncodePassword(const std::u16string& password) {
  std::string bytes;
  bytes.reserve(password.size());
  for (const char16_t c : password) bytes.push_back(static_cast<char>(ShiftedByte(c)));
  return bytes;
}

std::u16string DecodePassword(const std::string& bytes) {
  std::u16string password;
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (byte == 0xFF) break;
    password.push_back(static_cast<char16_t>((byte + 256u - kPasswordShift) & 0xFFu));
  }
  return password;
}

bool IsStorablePasswordChar(char16_t c) {
  if (c > 0xFF) return false;
  switch (ShiftedByte(c)) {
    case 0x00:
    case 0x0A:
    case 0x0D:
    case 0x1A:
    case 0xFF:
      return false;
    default:
      return true;
  }
}

bool IsStorablePassword(const std::u16string& password) {
  for (const char16_t c : password) {
    if (!IsStorablePasswordChar(c)) return false;
  }
  return true;
}

std::optional<std::u16string> ReadStoredPassword(const std::filesystem::path& folder) {
  std::string bytes;
  if (!ReadOwnFile(StorePath(folder).string(), bytes).ok) return std::nullopt;
  return DecodePassword(bytes);
}

bool WriteStoredPassword(const std::filesystem::path& folder, const std::u16string& password) {
  // A new file renamed over the old one: a full disk or any other failure
  // leaves the old password, and whoever knows it, in. Only the owner reads it.
  constexpr unsigned kOwnerOnly = 0600;
  return ReplaceOwnFile(StorePath(folder).string(), EncodePassword(password), kOwnerOnly).ok;
}

bool IsPasswordStoreReadable(const std::filesystem::path& folder) {
  std::string bytes;
  return ReadOwnFile(StorePath(folder).string(), bytes).ok;
}

bool DeleteNewPasswordMarker(const std::filesystem::path& folder) {
  const auto path = MarkerPath(folder);
  // remove() would also take an empty folder of that name; only a file counts.
  if (IsDirectory(path)) return false;
  std::error_code error;
  return std::filesystem::remove(path, error) && !error;
}

bool CreateNewPasswordMarker(const std::filesystem::path& folder) {
  return CreateOwnFile(MarkerPath(folder).string()).ok;
}

TStartupAccess ChooseStartupAccess(const std::filesystem::path& folder) {
  if (DeleteNewPasswordMarker(folder)) return saSetNew;
  if (IsPasswordStoreReadable(folder)) return saEnter;
  return saFileError;
}

bool CurrentPasswordPasses(const std::u16string& entered,
                           const std::optional<std::u16string>& stored,
                           const std::u16string& preset) {
  // A password has at least one character, so an empty store is no password.
  if (stored && !stored->empty() && entered == *stored) return true;
  return entered == preset;
}

TPasswordOkOutcome CheckPasswordOk(TPasswordMode mode, const std::u16string& entered,
                                   const std::u16string& newText, const std::u16string& confirm,
                                   const std::optional<std::u16string>& stored,
                                   const std::u16string& preset) {
  if (mode != pwSetNew && !CurrentPasswordPasses(entered, stored, preset)) {
    return poWrongPassword;
  }
  if (mode == pwEnter) return poAccept;
  if (newText != confirm) return poMismatch;
  if (newText.empty()) return poEmpty;
  if (!IsStorablePassword(newText)) return poUnstorable;
  return poStore;
}
