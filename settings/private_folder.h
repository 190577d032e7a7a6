// The per-user folder holds the password store and the links that name the
// serial ports: whoever else may write in it could plant files or links there.
#pragma once

#include <string>

// Checks `folder` before anything is read from it. A folder of this user's
// own that group or others may write in is made private (mode 0700); one that
// belongs to another user, or is no folder, is refused. A missing folder is
// fine: there is nothing in it to read. Returns an empty string, or the
// message for the user.
std::string MakeFolderPrivate(const std::string& folder);
