// Compare with Camera: the camera at the current address is read into a
// panel of its own and shown item by item beside the settings panel (or a
// settings file), the items that differ marked; "Take from camera" puts the
// camera's values into the settings panel.
#pragma once

#include <QDialog>
#include <memory>

#include "headless/steady_link_clock.h"
#include "link/line_backup.h"
#include "link/memory_panel.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TForm1;

class CompareCameraDialog : public QDialog, private LineBackupListener {
  Q_OBJECT

 public:
  explicit CompareCameraDialog(TForm1& form, QWidget* parent = nullptr);
  ~CompareCameraDialog() override;

  // Closing ends a running read at once; the window keeps its choice and
  // the last comparison when it is opened again.
  void reject() override;

 private:
  void StartClick();
  void TakeClick();
  void ShowRunning(bool running);
  void ShowComparison();

  void BackupProgress(const LineBackupProgress& progress) override;
  void CameraRead(const LineBackupResult& result) override;
  void BackupFinished(bool stopped) override;
  void BackupLineLost(const LineLoss& loss) override;

  TForm1& form_;
  QRadioButton* fromPanel_ = nullptr;
  QRadioButton* fromFile_ = nullptr;
  QLineEdit* file_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* take_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
  QTableWidget* table_ = nullptr;
  SteadyLinkClock clock_;
  MemoryPanel wanted_;       // the panel or the file, as it was when the read began
  MemoryPanel camera_;       // what the camera holds
  bool haveCamera_ = false;  // camera_ holds a whole read
  uint8_t address_ = 0;
  std::unique_ptr<LineBackup> read_;
};
