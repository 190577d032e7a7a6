// The save and open dialogs of the settings file commands.
#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

// Set up as the File menu needs them: default extension ".TXT", the filter
// "TXT FILE(*.TXT)"; the save dialog asks before overwriting and proposes
// `proposedName`, the open dialog accepts only an existing file.
std::unique_ptr<QFileDialog> MakeSettingsSaveDialog(QWidget* parent, const QString& proposedName);
std::unique_ptr<QFileDialog> MakeSettingsOpenDialog(QWidget* parent);

// Show the dialog modally; the chosen path, or empty when cancelled.
QString ChooseSettingsFileToSave(QWidget* parent, const QString& proposedName);
QString ChooseSettingsFileToOpen(QWidget* parent, const QString& proposedName);
