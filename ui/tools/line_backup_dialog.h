// Back Up Line: each camera of an address list is read into a panel of its
// own and kept in a folder as its settings file, with the folder's index
// brought up to date camera by camera.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "headless/steady_link_clock.h"
#include "link/line_backup.h"
#include "link/line_scan.h"
#include "settings/line_book.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TForm1;

class LineBackupDialog : public QDialog, private LineBackupListener {
  Q_OBJECT

 public:
  // `found`: what the last Find Cameras found, for the "Cameras found" button.
  LineBackupDialog(TForm1& form, const std::vector<LineScanFind>& found, QWidget* parent = nullptr);
  ~LineBackupDialog() override;

  // Closing a running backup asks first, then ends it at once. The window
  // keeps its list, folder and rows when it is opened again.
  void reject() override;
  void SetFound(const std::vector<LineScanFind>& found);

 private:
  void StartClick();
  void ShowRunning(bool running);
  void ShowEnd(const QString& how);

  void BackupProgress(const LineBackupProgress& progress) override;
  void CameraRead(const LineBackupResult& result) override;
  void BackupFinished(bool stopped) override;
  void BackupLineLost(const LineLoss& loss) override;

  TForm1& form_;
  QLineEdit* addresses_ = nullptr;
  QPushButton* fromFind_ = nullptr;
  QString foundText_;
  QLineEdit* folder_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
  QTableWidget* table_ = nullptr;
  SteadyLinkClock clock_;
  std::unique_ptr<LineBook> book_;  // the folder of the run in hand
  LineBookRun run_;
  size_t saved_ = 0;
  size_t rows_ = 0;
  std::unique_ptr<LineBackup> backup_;
};
