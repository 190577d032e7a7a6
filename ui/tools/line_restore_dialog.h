// Restore Line: each camera of a list is written from its own settings file
// in a backup folder, as Write to Several Cameras writes one (read back and
// compared when asked), with the same rows. Every file is checked before
// anything is sent.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "headless/steady_link_clock.h"
#include "link/multi_write.h"
#include "settings/line_book.h"
#include "settings/multi_write_report.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TForm1;

class LineRestoreDialog : public QDialog, private MultiWriteListener {
  Q_OBJECT

 public:
  explicit LineRestoreDialog(TForm1& form, QWidget* parent = nullptr);
  ~LineRestoreDialog() override;

  // Closing a running restore asks first, then ends it at once. The window
  // keeps its list, folder and rows when it is opened again.
  void reject() override;
  // Writes the rows as the Write to Several Cameras report; false, with an
  // error box, when the file cannot be written.
  bool SaveReport(const QString& path);

 private:
  void StartClick();
  // The book in the folder; nullptr, with an error box, when there is none.
  std::unique_ptr<LineBook> OpenBook();
  void FillFromBackup();
  void ShowRunning(bool running);

  void WriteProgress(const MultiWriteProgress& progress) override;
  void CameraDone(const MultiWriteResult& result) override;
  void WriteFinished(bool stopped) override;
  void WriteLineLost(const LineLoss& loss) override;

  TForm1& form_;
  QLineEdit* addresses_ = nullptr;
  QPushButton* fromBackup_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QPushButton* browse_ = nullptr;
  QCheckBox* readBack_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
  QTableWidget* table_ = nullptr;
  SteadyLinkClock clock_;
  std::vector<MultiWriteResult> rows_;
  MultiWriteReportRun run_;
  int64_t cameraStartMs_ = 0;
  std::unique_ptr<MultiWrite> write_;
};
