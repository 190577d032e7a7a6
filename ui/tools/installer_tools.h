// The installer's tools at the end of the Tools menu: Find Cameras, Write to
// Several Cameras and the Line Monitor, then the line book: Back Up Line,
// Restore Line and Compare with Camera. Those that take a list of addresses
// share what the last search found, and each keeps its window, with the last
// run in it, while the program runs.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "link/line_scan.h"
#include "ui/tools/line_monitor_window.h"

class CompareCameraDialog;
class FindCamerasDialog;
class LineBackupDialog;
class LineRestoreDialog;
class MultiWriteDialog;
class QAction;
class QMenu;
class TForm1;

// Help topics of the tools.
constexpr int kFindCamerasContext = 30;
constexpr int kMultiWriteContext = 31;
constexpr int kLineMonitorContext = 32;
constexpr int kLineBackupContext = 34;
constexpr int kLineRestoreContext = 35;
constexpr int kCompareCameraContext = 48;

class InstallerTools : public QObject {
  Q_OBJECT

 public:
  // Adds a separator and the three tools, then a separator and the three
  // line book items to `tools`; owned by the window.
  InstallerTools(TForm1& form, QMenu* tools);

  void FindCamerasClick();
  void MultiWriteClick();
  void LineMonitorClick();
  void LineBackupClick();
  void LineRestoreClick();
  void CompareCameraClick();

  // The monitor while it is open, else nullptr.
  LineMonitorWindow* Monitor() const { return monitor_; }

 private:
  TForm1& form_;
  std::vector<LineScanFind> found_;  // of the last Find Cameras
  QPointer<FindCamerasDialog> findCameras_;
  QPointer<MultiWriteDialog> multiWrite_;
  QPointer<LineBackupDialog> backup_;
  QPointer<LineRestoreDialog> restore_;
  QPointer<CompareCameraDialog> compare_;
  QPointer<LineMonitorWindow> monitor_;
};

// One call from the window's menu building.
InstallerTools* AddInstallerTools(TForm1& form, QMenu* tools);
