#include "tests/ui/support/cam_sim.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include "tests/ui/support/control_fixture.h"

CamSim::CamSim(const TestProgramFolder& folder, const QStringList& options) {
  const QString program = QCoreApplication::applicationDirPath() + "/zelta-camsim";
  if (!QFileInfo(program).isExecutable()) return;
  process_.setProcessChannelMode(QProcess::MergedChannels);
  process_.start(program, QStringList{"--link", folder.FilePath("Com1")} + options);
  ready_ = process_.waitForStarted(5000) && WaitFor("ready on", 5000);
}

CamSim::~CamSim() {
  process_.terminate();
  if (!process_.waitForFinished(3000)) process_.kill();
}

bool CamSim::WaitFor(const QString& text, int waitMs, int from) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < waitMs) {
    output_ += QString::fromUtf8(process_.readAll());
    if (output_.indexOf(text, from) >= 0) return true;
    QTest::qWait(20);
  }
  return false;
}
