// The help file: "ZELTAHELP.HLP" beside the program (an HTML document with
// one anchor per help context number), and the "Contens" command.
#pragma once

#include <QString>

class QWidget;

// Absolute path of the application help file "ZELTAHELP.HLP": beside the
// program (a build folder), else in the installed data folder
// (../share/zelta from the program's folder).
QString HelpFilePath();
QString HelpFilePathFor(const QString& programFolder);
// Tests point the help at another file; an empty path restores the default.
void SetHelpFilePath(const QString& path);

// Help1Click ("Contens"): opens "ZELTAHELP.hlp" from the current working
// folder (the name is matched without regard to case, as the file system it
// was named for did) in the program's own help viewer, owned by `owner`, at
// its contents page: a desktop takes a ".hlp" file for a format it has no
// program for. Reports nothing when it is missing.
void Help1Click(QWidget* owner);
