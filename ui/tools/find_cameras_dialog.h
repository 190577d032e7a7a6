// Find Cameras: searches the line for every camera over chosen rates and an
// address range, lists what answered, and makes one of them the current camera.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <vector>

#include "link/line_scan.h"
#include "link/line_speeds.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class TForm1;
class TLinkTimer;

class FindCamerasDialog : public QDialog, private LineScanListener {
  Q_OBJECT

 public:
  // `found` holds the search's finds, for Write to Several Cameras.
  FindCamerasDialog(TForm1& form, std::vector<LineScanFind>& found, QWidget* parent = nullptr);
  ~FindCamerasDialog() override;

  // Closing ends a running search at once: the link is given back. The
  // window keeps its rates, range and finds when it is opened again.
  void reject() override;

 private:
  QHBoxLayout* BuildRates();
  QHBoxLayout* BuildRange();
  void BuildScan();
  std::unique_ptr<LineScan> MakeScan();
  void StartClick();
  void StopClick();
  void UseClick();
  void ShowRunning(bool running);
  void UpdateUse();

  void ScanProgress(const LineScanProgress& progress) override;
  void ScanFound(const LineScanFind& find) override;
  void ScanFinished(bool stopped) override;
  void ScanLineLost(const LineLoss& loss) override;

  TForm1& form_;
  std::vector<LineScanFind>& found_;
  std::vector<QCheckBox*> rates_ = std::vector<QCheckBox*>(kLineSpeedCount);
  QSpinBox* firstAddress_ = nullptr;
  QSpinBox* lastAddress_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* use_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
  QTableWidget* table_ = nullptr;
  QTimer* replyTimer_ = nullptr;
  std::unique_ptr<TLinkTimer> linkTimer_;
  std::unique_ptr<LineScan> scan_;
};
