// The camera simulator as a window test's far end of COM1: started on a
// pseudo-terminal it links into the program folder as "Com1", its printout
// gathered while the test waits.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

class TestProgramFolder;

class CamSim {
 public:
  // Not Ready() when zelta-camsim is not built beside the test.
  CamSim(const TestProgramFolder& folder, const QStringList& options);
  ~CamSim();
  CamSim(const CamSim&) = delete;
  CamSim& operator=(const CamSim&) = delete;

  bool Ready() const { return ready_; }
  // Runs the event loop until the printout holds `text` after `from`.
  bool WaitFor(const QString& text, int waitMs, int from = 0);
  int Size() const { return static_cast<int>(output_.size()); }
  QString Output() const { return output_; }

 private:
  QProcess process_;
  QString output_;
  bool ready_ = false;
};
