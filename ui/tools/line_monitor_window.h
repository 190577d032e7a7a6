// Line Monitor: every frame the program sends and receives while the window
// is open, with its time, direction, bytes and meaning. It listens on the
// engine's port only while open; closed, it is gone.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include "link/line_splitter.h"
#include "ui/tools/line_tap.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class LineMonitorWindow : public QWidget, public LineListener {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 10000;

  // Starts listening on `port`; deletes itself when closed.
  LineMonitorWindow(TappedLinkPort& port, QWidget* parent);
  ~LineMonitorWindow() override;

  int LineCount() const;
  // Header and lines as shown, as UTF-8 text, with a note of the lines dropped
  // for room before them, replacing the file whole; when it cannot be
  // written, says why in an error box and returns false.
  bool SaveTo(const QString& path);

  void BytesSent(const uint8_t* bytes, size_t count) override;
  void BytesReceived(const uint8_t* bytes, size_t count) override;
  void PortGone() override { port_ = nullptr; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(const char* direction, const std::vector<LinePiece>& pieces);
  void Expire();
  void ArmExpiry();
  int64_t NowUs() const;
  void SaveClick();

  TappedLinkPort* port_;
  // Both sides may carry PTZ frames: the program's own, and those of another
  // controller on the line (a recorder or keyboard) among the cameras' replies.
  LineSplitter sent_{AllPtzProtocols()};
  LineSplitter received_{AllPtzProtocols(), BadPtzFrames::Reread};
  QElapsedTimer clock_;
  QPlainTextEdit* text_ = nullptr;
  QPushButton* pause_ = nullptr;
  QTimer* expiry_ = nullptr;
  int64_t dropped_ = 0;  // lines let go for room since the last Clear
};
