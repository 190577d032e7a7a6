// The real camera simulator as the far end of an end-to-end test: a
// zelta-camsim process whose pseudo-terminal is linked into the test's program
// folder as "Com1" (or "Com2"), with its trace written to a file that the test
// reads while it grows.
#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

class TestProgramFolder;

// One line of the trace: "<s.mmm> RX|TX <hex bytes> <meaning>", or a menu line.
struct TraceLine {
  QString direction;  // "RX", "TX", or empty for the menu and notes
  QByteArray bytes;
  QString meaning;
  QString text;  // the whole line
};

class CamSim {
 public:
  // Starts the simulator with `options` and waits for its ready line.
  CamSim(const TestProgramFolder& folder, const QStringList& options,
         const QString& portName = QStringLiteral("Com1"));
  ~CamSim();
  CamSim(const CamSim&) = delete;
  CamSim& operator=(const CamSim&) = delete;

  bool Ready() const { return ready_; }
  // The pseudo-terminal the simulator serves (its slave side).
  QString SlavePath() const { return slavePath_; }

  // The trace so far.
  QList<TraceLine> Trace();
  // Frames of the trace from line `from` on, in one direction.
  QList<TraceLine> Frames(const QString& direction, int from = 0);
  int Mark() { return static_cast<int>(Trace().size()); }
  // Runs the event loop until a trace line from `from` on holds `text`.
  bool WaitForTrace(const QString& text, int waitMs, int from = 0);
  // Everything the simulator printed and traced, for a failure message.
  QString Diagnostics();

  // The camera stops answering (SIGSTOP) while its line stays, and comes back.
  void Pause();
  void Resume();
  // Ends the simulator (SIGTERM); false when it did not end cleanly.
  bool Stop();

 private:
  void Drain();

  QProcess process_;
  QString tracePath_;
  QString slavePath_;
  QString output_;
  QByteArray traceBytes_;
  qsizetype parsedEnd_ = 0;  // bytes of traceBytes_ already parsed into lines_
  QList<TraceLine> lines_;
  bool ready_ = false;
  bool paused_ = false;
};

QByteArray Bytes(const uint8_t* data, size_t count);
// "CC 01 01", as the trace writes bytes.
QString HexText(const QByteArray& bytes);
