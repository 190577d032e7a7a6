// The installer's tools at the end of the Tools menu: Find Cameras, Write to
// Several Cameras and the Line Monitor. The first two share what the last
// search found, and each keeps its window, with the last run in it, while the
// program runs.
#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "link/line_scan.h"
#include "ui/tools/line_monitor_window.h"

class FindCamerasDialog;
class MultiWriteDialog;
class QAction;
class QMenu;
class TForm1;

// Help topics of the three tools.
constexpr int kFindCamerasContext = 30;
constexpr int kMultiWriteContext = 31;
constexpr int kLineMonitorContext = 32;

class InstallerTools : public QObject {
  Q_OBJECT

 public:
  // Adds a separator and the three items to `tools`; owned by the window.
  InstallerTools(TForm1& form, QMenu* tools);

  void FindCamerasClick();
  void MultiWriteClick();
  void LineMonitorClick();

  // The monitor while it is open, else nullptr.
  LineMonitorWindow* Monitor() const { return monitor_; }

 private:
  TForm1& form_;
  std::vector<LineScanFind> found_;  // of the last Find Cameras
  QPointer<FindCamerasDialog> findCameras_;
  QPointer<MultiWriteDialog> multiWrite_;
  QPointer<LineMonitorWindow> monitor_;
};

// One call from the window's menu building.
InstallerTools* AddInstallerTools(TForm1& form, QMenu* tools);
