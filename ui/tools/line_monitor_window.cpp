#include "ui/tools/line_monitor_window.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "link/frame_meaning.h"
#include "settings/settings_file_io.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

// Ten bytes in hex and the blanks between them.
constexpr int kBytesWidth = 29;
const QString kHeader =
    QStringLiteral("%1  %2  %3  %4")
        .arg(QStringLiteral("Time (ms)"), QStringLiteral("Dir"),
             QStringLiteral("Bytes").leftJustified(kBytesWidth), QStringLiteral("Meaning"));

// The line under the header of a saved file that starts after dropped lines.
QString DroppedNote(int64_t dropped) {
  return QStringLiteral("(%1 earlier %2 dropped: the monitor keeps the last %3 lines)")
      .arg(dropped)
      .arg(dropped == 1 ? QStringLiteral("line") : QStringLiteral("lines"))
      .arg(LineMonitorWindow::kMaxLines);
}

QString HexBytes(const std::vector<uint8_t>& bytes) {
  QString text;
  for (const uint8_t byte : bytes) {
    if (!text.isEmpty()) text += QLatin1Char(' ');
    text += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
  }
  return text;
}

}  // namespace

LineMonitorWindow::LineMonitorWindow(TappedLinkPort& port, QWidget* parent)
    : QWidget(parent, Qt::Window), port_(&port) {
  setObjectName(QStringLiteral("LineMonitorWindow"));
  setWindowTitle(QStringLiteral("Line Monitor"));
  setAttribute(Qt::WA_DeleteOnClose);
  // The main window ends the program; an open monitor does not keep it running.
  setAttribute(Qt::WA_QuitOnClose, false);
  SetHelpContext(this, kLineMonitorContext);

  pause_ = MakeButton(this, "PauseButton", QStringLiteral("Pause"));
  pause_->setCheckable(true);
  auto* clear = MakeButton(this, "ClearButton", QStringLiteral("Clear"));
  auto* save = MakeButton(this, "SaveButton", QStringLiteral("Save As..."));
  auto* commands = new QHBoxLayout;
  commands->addWidget(pause_);
  commands->addWidget(clear);
  commands->addWidget(save);
  commands->addStretch();

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  auto* header = new QLabel(kHeader, this);
  header->setObjectName(QStringLiteral("HeaderLabel"));
  header->setFont(fixed);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("MonitorText"));
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setMaximumBlockCount(kMaxLines);
  text_->setFont(fixed);
  // The header stands over the columns, inside the text box's frame and margin.
  header->setIndent(text_->frameWidth() + static_cast<int>(text_->document()->documentMargin()));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(commands);
  layout->addWidget(header);
  layout->addWidget(text_);
  resize(760, 420);

  expiry_ = new QTimer(this);
  expiry_->setSingleShot(true);
  expiry_->setTimerType(Qt::PreciseTimer);
  connect(expiry_, &QTimer::timeout, this, [this] { Expire(); });
  connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
    pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  });
  connect(clear, &QPushButton::clicked, this, [this] {
    text_->clear();
    dropped_ = 0;
  });
  connect(save, &QPushButton::clicked, this, [this] { SaveClick(); });

  clock_.start();
  port_->SetListener(this);
  CentreOnScreen(this);
}

LineMonitorWindow::~LineMonitorWindow() {
  if (port_ != nullptr && port_->Listener() == this) port_->SetListener(nullptr);
}

// A window of its own, not one the main window carries: a tool's dialog
// blocks the main window and what hangs on it, and the monitor must go on
// working while a tool runs.
void LineMonitorWindow::showEvent(QShowEvent* event) {
  if (QWindow* window = windowHandle()) window->setTransientParent(nullptr);
  QWidget::showEvent(event);
}

int LineMonitorWindow::LineCount() const {
  return text_->document()->isEmpty() ? 0 : text_->document()->blockCount();
}

int64_t LineMonitorWindow::NowUs() const {
  return clock_.nsecsElapsed() / 1000;
}

void LineMonitorWindow::BytesSent(const uint8_t* bytes, size_t count) {
  Show("TX", sent_.Feed(bytes, count, NowUs()));
}

void LineMonitorWindow::BytesReceived(const uint8_t* bytes, size_t count) {
  Show("RX", received_.Feed(bytes, count, NowUs()));
}

void LineMonitorWindow::Show(const char* direction, const std::vector<LinePiece>& pieces) {
  // Paused, the splitters still follow the line so that framing holds afterwards.
  if (!pause_->isChecked()) {
    const QString time = QString::number(NowUs() / 1000).rightJustified(9);
    for (const LinePiece& piece : pieces) {
      // The text box lets its first line go to make room.
      if (LineCount() >= kMaxLines) ++dropped_;
      text_->appendPlainText(QStringLiteral("%1  %2   %3  %4")
                                 .arg(time, QLatin1String(direction),
                                      HexBytes(piece.bytes).leftJustified(kBytesWidth),
                                      QString::fromStdString(DescribePiece(piece))));
    }
  }
  ArmExpiry();
}

void LineMonitorWindow::Expire() {
  const int64_t now = NowUs();
  Show("TX", sent_.Expire(now));
  Show("RX", received_.Expire(now));
}

void LineMonitorWindow::ArmExpiry() {
  int64_t deadline = -1;
  for (const int64_t d : {sent_.Deadline(), received_.Deadline()}) {
    if (d >= 0 && (deadline < 0 || d < deadline)) deadline = d;
  }
  if (deadline < 0) {
    expiry_->stop();
    return;
  }
  const int64_t waitUs = std::max<int64_t>(0, deadline - NowUs());
  expiry_->start(static_cast<int>(waitUs / 1000) + 1);
}

bool LineMonitorWindow::SaveTo(const QString& path) {
  QString text = kHeader + QLatin1Char('\n');
  if (dropped_ > 0) text += DroppedNote(dropped_) + QLatin1Char('\n');
  if (LineCount() > 0) text += text_->toPlainText() + QLatin1Char('\n');
  const FileOutcome written =
      ReplaceFile(QFile::encodeName(path).toStdString(), text.toUtf8().toStdString());
  if (!written.ok) ShowSaveError(path, written.reason, this);
  return written.ok;
}

void LineMonitorWindow::SaveClick() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Save Line Monitor"),
                                   QStringLiteral("line.txt"), QStringLiteral("Text file (*.txt)"));
  if (path.isEmpty()) return;
  SaveTo(path);
}
