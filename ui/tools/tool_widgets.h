// Small pieces the tools' windows share.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QWidget;

// What a tool says when another transfer holds the line.
inline constexpr char kLineBusyText[] =
    "The line is busy. Try again when the transfer has finished.";

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
// Start and Stop of a run in a row of their own, its progress bar and the
// label under it that says what is being tried.
struct RunControls {
  QPushButton* start;
  QPushButton* stop;
  QHBoxLayout* row;
  QProgressBar* progress;
  QLabel* progressText;
};
RunControls MakeRunControls(QWidget* parent);
// "Addresses:", the list to type ("2-32, 40") and a button that fills it.
struct AddressRow {
  QLineEdit* edit;
  QPushButton* fill;
  QHBoxLayout* row;
};
AddressRow MakeAddressRow(QWidget* parent, const char* fillName, const QString& fillCaption);
// "Folder:", its path and a Browse... button that chooses it.
struct FolderRow {
  QLineEdit* edit;
  QPushButton* browse;
  QHBoxLayout* row;
};
FolderRow MakeFolderRow(QWidget* parent);
// A folder a backup cannot be kept in or read from, with the reason, as an error.
void ShowFolderError(const QString& folder, const std::string& reason, QWidget* parent);
// The dialog's bottom row: its own command on the left, "Close" (which
// closes the dialog) on the right.
struct BottomRow {
  QPushButton* command;
  QHBoxLayout* row;
};
BottomRow MakeBottomRow(QDialog* dialog, const char* name, const QString& caption);
// A read-only table of whole rows with these column headers.
QTableWidget* MakeResultTable(QWidget* parent, const char* name, const QStringList& headers);
// Appends a row of texts.
void AddRow(QTableWidget* table, const QStringList& texts);
// "1:05": minutes and seconds of a time in milliseconds, rounded up.
QString MinutesText(int ms);
