// The folder that holds "Port.dat", "data.dat", "newdata.dat" and the
// "Com1"/"Com2" links. A build from source keeps them beside the program; the
// package's build keeps them per user, since its program folder is /usr/bin.
#pragma once

#include <QString>

// The folder of the running program; not the working folder.
QString ProgramFolderPath();

// $XDG_CONFIG_HOME/zelta, or ~/.config/zelta when XDG_CONFIG_HOME is unset
// (or not an absolute path, which the XDG rules say to ignore).
QString PerUserFolderPath();

// Makes `folder` (mode 0700: the password store is the user's alone) when it
// is missing, and leaves an empty "newdata.dat" in it when it holds neither
// "data.dat" nor "newdata.dat", so that a first start asks for a new password
// as a fresh build folder does. An existing folder is checked first and made
// private (MakeFolderPrivate); false when it is refused, with the message in
// `problem`, or when the folder cannot be made.
bool PreparePerUserFolder(const QString& folder, QString* problem = nullptr);
