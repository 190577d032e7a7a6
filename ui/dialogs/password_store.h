// The password store beside the program and the checks behind the password
// dialog's OK, kept free of widgets so that they can be tested on their own.
//
// "data.dat" holds the password's characters in order, one byte each, each
// byte the character code plus 100 modulo 256, nothing else. The empty file
// "newdata.dat" asks the next start for a new password.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

constexpr unsigned kPasswordShift = 100;
constexpr std::size_t kPasswordMaxLength = 15;
constexpr char kPasswordStoreName[] = "data.dat";
constexpr char kNewPasswordMarkerName[] = "newdata.dat";

// Which of its three uses a password dialog serves.
enum TPasswordMode : uint8_t { pwSetNew = 0, pwEnter = 1, pwChange = 2 };

// What OK leads to, in the order the checks are made.
enum TPasswordOkOutcome : uint8_t {
  poWrongPassword,  // current password neither stored nor preset
  poMismatch,       // new and confirm texts differ
  poEmpty,          // new password empty
  poUnstorable,     // new password holds a character the store cannot carry
  poStore,          // store the new password, then accept
  poAccept,         // accept without storing
};

// Shifted bytes, and back. Decoding stops at the first 0xFF byte.
std::string EncodePassword(const std::u16string& password);
std::u16string DecodePassword(const std::string& bytes);

// A character survives the store only when its code fits a byte and its
// shifted byte is none of 0x00, 0x0A, 0x0D, 0x1A (which text handling
// changes) and 0xFF (which ends reading).
bool IsStorablePasswordChar(char16_t c);
bool IsStorablePassword(const std::u16string& password);

// The stored password, or nothing when "data.dat" cannot be read (also when
// it is a link, not a regular file, or too large to be one this program wrote).
std::optional<std::u16string> ReadStoredPassword(const std::filesystem::path& folder);
// Creates or truncates "data.dat" and writes the shifted password. False
// when the file could not be written in full.
bool WriteStoredPassword(const std::filesystem::path& folder, const std::u16string& password);
// Whether "data.dat" can be read, as ReadStoredPassword reads it.
bool IsPasswordStoreReadable(const std::filesystem::path& folder);

// True when "newdata.dat" existed and is now deleted.
bool DeleteNewPasswordMarker(const std::filesystem::path& folder);
// Creates the empty "newdata.dat"; false when it could not be created.
bool CreateNewPasswordMarker(const std::filesystem::path& folder);

// Which start-up path applies; deletes "newdata.dat" on the way, as the
// start-up check does.
enum TStartupAccess : uint8_t { saSetNew, saEnter, saFileError };
TStartupAccess ChooseStartupAccess(const std::filesystem::path& folder);

// The current-password test: the typed text equals the stored password or,
// failing that, the preset one. An unreadable or empty store matches nothing,
// so that only the preset then passes.
bool CurrentPasswordPasses(const std::u16string& entered,
                           const std::optional<std::u16string>& stored,
                           const std::u16string& preset);

// The checks of OK in their order for `mode`. `stored` is consulted only
// where the current password is asked for.
TPasswordOkOutcome CheckPasswordOk(TPasswordMode mode, const std::u16string& entered,
                                   const std::u16string& newText, const std::u16string& confirm,
                                   const std::optional<std::u16string>& stored,
                                   const std::u16string& preset);
