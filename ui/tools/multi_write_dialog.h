// Write to Several Cameras: the panel as it stands goes to each camera of an
// address list, with a row of result for each and a report to save.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "headless/steady_link_clock.h"
#include "link/line_scan.h"
#include "link/multi_write.h"
#include "settings/multi_write_report.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class TForm1;

class MultiWriteDialog : public QDialog, private MultiWriteListener {
  Q_OBJECT

 public:
  // `found`: what the last Find Cameras found, for the "Cameras found" button.
  MultiWriteDialog(TForm1& form, const std::vector<LineScanFind>& found, QWidget* parent = nullptr);
  ~MultiWriteDialog() override;

  // Closing a running write asks first, then ends it at once: the engine is
  // set back. The window keeps its list, options and rows when it is opened again.
  void reject() override;
  // What the last Find Cameras found, for the "Cameras found" button.
  void SetFound(const std::vector<LineScanFind>& found);
  // Writes the report as CSV to `path`, replacing the file whole; when it
  // cannot be written, says why in an error box and returns false.
  bool SaveReport(const QString& path);

 private:
  QHBoxLayout* BuildAddressRow(const std::vector<LineScanFind>& found);
  void StartClick();
  void SaveClick();
  void ShowRunning(bool running);

  void WriteProgress(const MultiWriteProgress& progress) override;
  void CameraDone(const MultiWriteResult& result) override;
  void WriteFinished(bool stopped) override;
  void WriteLineLost(const LineLoss& loss) override;

  TForm1& form_;
  QLineEdit* addresses_ = nullptr;
  QPushButton* fromFind_ = nullptr;
  QString foundText_;
  QCheckBox* readBack_ = nullptr;
  QCheckBox* imageDelay_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
  QTableWidget* table_ = nullptr;
  SteadyLinkClock clock_;
  std::vector<MultiWriteResult> rows_;
  MultiWriteReportRun run_;  // when, where and what the rows' write was
  int64_t cameraStartMs_ = 0;
  std::unique_ptr<MultiWrite> write_;
};

// Appends a camera's row: address, result, time; a camera left half written in bold.
void AddWriteRow(QTableWidget* table, const MultiWriteResult& result);
// The line under the bar during a run: "Camera 2 of 5, address 7: GAIN, 0:40 left".
QString WriteProgressText(const MultiWriteProgress& progress,
                          const std::vector<MultiWriteResult>& done, int64_t msIntoCamera);
// The line under the bar at a run's end: "Finished: 3 of 4 OK".
QString WriteEndText(const QString& how, const std::vector<MultiWriteResult>& rows);
// "1-8, 12": the addresses in order, runs of consecutive ones as ranges.
QString AddressListText(std::vector<uint8_t> addresses);
// The address list of the cameras a search found, leaving out an address two
// cameras share: one settings file is never meant for both.
QString FoundAddressText(const std::vector<LineScanFind>& found);
// The time a run of `count` cameras has left, at the pace of the cameras `done`
// so far, `msIntoCamera` into the one in hand; -1 before any camera has taken time.
int MultiWriteMsLeft(const std::vector<MultiWriteResult>& done, size_t count, int64_t msIntoCamera);
