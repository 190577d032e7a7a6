#include "tests/e2e/support/camsim.h"

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "tests/ui/support/control_fixture.h"

namespace {

constexpr int kStartWaitMs = 10000;
constexpr int kStopWaitMs = 5000;

bool IsHexByte(const QString& token) {
  if (token.size() != 2) return false;
  for (const QChar c : token) {
    if (!c.isDigit() && !(c >= QLatin1Char('A') && c <= QLatin1Char('F'))) return false;
  }
  return true;
}

TraceLine ParseLine(const QString& text) {
  TraceLine line;
  line.text = text;
  const QStringList tokens = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (tokens.size() < 3 || (tokens[1] != QLatin1String("RX") && tokens[1] != QLatin1String("TX"))) {
    return line;
  }
  line.direction = tokens[1];
  int i = 2;
  for (; i < tokens.size() && IsHexByte(tokens[i]); ++i) {
    line.bytes.append(static_cast<char>(tokens[i].toUInt(nullptr, 16)));
  }
  line.meaning = tokens.mid(i).join(QLatin1Char(' '));
  return line;
}

}  // namespace

CamSim::CamSim(const TestProgramFolder& folder, const QStringList& options,
               const QString& portName) {
  tracePath_ = folder.FilePath(QStringLiteral("camsim-%1.trace").arg(portName));
  process_.setProcessChannelMode(QProcess::MergedChannels);
  process_.start(QStringLiteral(ZELTA_CAMSIM_PATH),
                 QStringList{QStringLiteral("--link"), folder.FilePath(portName),
                             QStringLiteral("--trace"), tracePath_} +
                     options);
  if (!process_.waitForStarted(kStartWaitMs)) return;
  const QString readyText = QStringLiteral("ready on ");
  ready_ = QTest::qWaitFor(
      [&] {
        Drain();
        return output_.contains(readyText) &&
               output_.indexOf(QLatin1Char('\n'), output_.indexOf(readyText)) > 0;
      },
      kStartWaitMs);
  if (ready_) {
    const int start = static_cast<int>(output_.indexOf(readyText) + readyText.size());
    const int end = static_cast<int>(output_.indexOf(QLatin1Char(' '), start));
    slavePath_ = output_.mid(start, end - start);
  }
}

CamSim::~CamSim() {
  if (process_.state() == QProcess::NotRunning) return;
  Resume();
  Stop();
}

void CamSim::Drain() {
  output_ += QString::fromLocal8Bit(process_.readAll());
}

QList<TraceLine> CamSim::Trace() {
  Drain();
  QFile file(tracePath_);
  if (file.open(QIODevice::ReadOnly)) {
    file.seek(traceBytes_.size());
    traceBytes_ += file.readAll();
  }
  // Only whole lines: the simulator flushes each as it is written.
  while (true) {
    const qsizetype newline = traceBytes_.indexOf('\n', parsedEnd_);
    if (newline < 0) break;
    lines_.append(ParseLine(QString::fromUtf8(traceBytes_.mid(parsedEnd_, newline - parsedEnd_))));
    parsedEnd_ = newline + 1;
  }
  return lines_;
}

QList<TraceLine> CamSim::Frames(const QString& direction, int from) {
  const QList<TraceLine> all = Trace();
  QList<TraceLine> frames;
  for (int i = from; i < all.size(); ++i) {
    if (all[i].direction == direction) frames.append(all[i]);
  }
  return frames;
}

bool CamSim::WaitForTrace(const QString& text, int waitMs, int from) {
  return QTest::qWaitFor(
      [&] {
        const QList<TraceLine> all = Trace();
        for (int i = from; i < all.size(); ++i) {
          if (all[i].text.contains(text)) return true;
        }
        return false;
      },
      waitMs);
}

QString CamSim::Diagnostics() {
  QString text = QStringLiteral("--- simulator output:\n") + output_;
  text += QStringLiteral("--- trace:\n");
  for (const TraceLine& line : Trace()) text += line.text + QLatin1Char('\n');
  return text;
}

void CamSim::Pause() {
  if (paused_ || process_.state() != QProcess::Running) return;
  ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP);
  paused_ = true;
}

void CamSim::Resume() {
  if (!paused_) return;
  ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
  paused_ = false;
}

bool CamSim::Stop() {
  if (process_.state() == QProcess::NotRunning) return true;
  Resume();
  process_.terminate();
  if (!process_.waitForFinished(kStopWaitMs)) {
    process_.kill();
    process_.waitForFinished(kStopWaitMs);
    return false;
  }
  Drain();
  return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

QByteArray Bytes(const uint8_t* data, size_t count) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
}

QString HexText(const QByteArray& bytes) {
  return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
