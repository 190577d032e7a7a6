// The File menu's "Save &As..." and "&Open..." commands: the settings panel and
// the two image delay codes to and from a settings text file, with the file
// dialogs, the busy rule, the error boxes and the window caption.
#pragma once

#include <QString>
#include <functional>

#include "ui/main_window/settings_file_dialogs.h"

class CameraPanel;
class QWidget;
struct CameraLinkState;

// Asks the user for a file. Gets the parent and the proposed file name (empty
// for Open); gives the chosen path, or an empty text when the user cancels.
using SettingsFileChooser = std::function<QString(QWidget* parent, const QString& proposedName)>;

// Save As: writes the panel and the delay codes to the chosen file. Returns the
// new window caption, or `caption` unchanged when the link is busy, the user
// cancels or the file cannot be written (an "ERROR" box says why).
// An empty `choose` shows the real save dialog.
QString SaveSettingsFileAs(QWidget* parent, const CameraPanel& panel, const CameraLinkState& state,
                           bool linkBusy, const QString& caption,
                           const SettingsFileChooser& choose = {});

// Open: loads the chosen file into the panel and the delay codes. The file is
// checked whole first; on any error the user sees why and nothing changes.
// Returns the new window caption, or `caption` unchanged.
// An empty `choose` shows the real open dialog.
QString OpenSettingsFile(QWidget* parent, CameraPanel& panel, CameraLinkState& state, bool linkBusy,
                         const QString& caption, const SettingsFileChooser& choose = {});

// What Open does with the chosen file: checks it whole, then puts it into the
// panel and the delay codes. False, with the user told why in the box Open
// shows, and nothing changed, when it cannot be read or is no settings file.
bool LoadSettingsFile(QWidget* parent, const QString& path, CameraPanel& panel,
                      CameraLinkState& state);
