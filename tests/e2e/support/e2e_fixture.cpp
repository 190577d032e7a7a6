#include "tests/e2e/support/e2e_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <string>

#include "link/camera_frames.h"
#include "link/camera_items.h"
#include "tests/ui/support/control_fixture.h"
#include "ui/main_window/control_form.h"

namespace {

constexpr int kModalPollMs = 10;

QString Hex2(uint8_t value) {
  return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

}  // namespace

QString CameraValues::Text() const {
  QString text;
  for (const auto& [item, value] : items)
    text += QStringLiteral("%1=%2 ").arg(Hex2(item)).arg(value);
  return text + QStringLiteral("id=\"%1\"").arg(id);
}

int ListPosition(uint8_t item, const char* entry) {
  const CameraItem* found = FindCameraItem(item);
  if (found == nullptr) return -1;
  const std::vector<std::string>& entries = ListEntries(found->control);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == entry) return static_cast<int>(i);
  }
  return -1;
}

QStringList SimOptionsFor(const CameraValues& values) {
  QStringList options;
  for (const auto& [item, value] : values.items) {
    options << QStringLiteral("--set") << QStringLiteral("%1=%2").arg(Hex2(item)).arg(value);
  }
  options << QStringLiteral("--id") << values.id;
  return options;
}

CameraValues PanelValues(const TForm1& form) {
  CameraValues values;
  for (const uint8_t item : kTransferOrder) {
    const CameraItem* found = FindCameraItem(item);
    switch (found->kind) {
      case ItemKind::Gain:
        values.items[item] = form.Panel().Position(found->control);
        break;
      case ItemKind::List:
        values.items[item] = form.Panel().ItemIndex(found->control);
        break;
      default:
        break;
    }
  }
  // A camera reporting IRIS or --- shows the alternative list instead.
  if (form.Panel().Visible(PanelControl::ShutterIris)) {
    values.items[kItemShutter] = form.Panel().ItemIndex(PanelControl::ShutterIris);
  }
  if (form.Panel().Visible(PanelControl::SyncDC))
    values.items[kItemSync] = form.Panel().ItemIndex(PanelControl::SyncDC);
  values.id = QString::fromStdString(form.Panel().IdEditText());
  return values;
}

CameraValues LobbyCamera() {
  CameraValues camera;
  // Every panel item, at its start-up value unless named below.
  for (const uint8_t item : kTransferOrder) {
    const CameraItem* found = FindCameraItem(item);
    if (found->kind == ItemKind::List || found->kind == ItemKind::Gain)
      camera.items[item] = found->defaultValue;
  }
  const std::map<uint8_t, int> lobby = {
      {kItemDNMode, ListPosition(kItemDNMode, "B.C.G")},
      {kItemDNLevel, ListPosition(kItemDNLevel, "LOW")},
      {kItemDNFil, ListPosition(kItemDNFil, "OFF")},
      {kItemShutter, ListPosition(kItemShutter, "1/250")},
      {kItemGain, ListPosition(kItemGain, "WIDE")},
      {kItemSync, ListPosition(kItemSync, "INT")},
      {kItemGamma, ListPosition(kItemGamma, "1")},
      {kItemBlc, ListPosition(kItemBlc, "BLC3 ")},
      {kItemWhiteBal, ListPosition(kItemWhiteBal, "MANUAL")},
      {kItemAperture, ListPosition(kItemAperture, "LOW")},
      {kItemPredtmsp, ListPosition(kItemPredtmsp, "1/1K")},
      {kItemIdPos, ListPosition(kItemIdPos, "BOTTOM")},
      {kItemRedGain, 40},
      {kItemBlueGain, 22},
  };
  for (const auto& [item, value] : lobby) camera.items[item] = value;
  camera.id =
      QStringLiteral("LOBBY-2").leftJustified(static_cast<int>(kIdLength), QLatin1Char(' '));
  return camera;
}

std::unique_ptr<TForm1> StartZelta(const TestProgramFolder& folder) {
  auto form = StartForm(folder);
  form->show();
  return form;
}

bool WaitForLamp(const TForm1& form, LampColour colour, int waitMs) {
  return QTest::qWaitFor([&] { return form.LinkView().Lamp() == colour; }, waitMs);
}

bool WaitForStatus(const TForm1& form, const QString& text, int waitMs) {
  return QTest::qWaitFor([&] { return form.StatusText(3) == text; }, waitMs);
}

QString Describe(const TForm1& form) {
  return QStringLiteral("lamp %1, status [%2 | %3 | %4 | %5], panel %6")
      .arg(form.LinkView().Lamp() == LampColour::Lime ? QStringLiteral("green")
                                                      : QStringLiteral("red"))
      .arg(form.StatusText(0), form.StatusText(1), form.StatusText(2), form.StatusText(3))
      .arg(PanelValues(form).Text());
}

QByteArray PollRequest(uint8_t address, uint8_t protocolCode) {
  uint8_t frame[kFrameSize];
  BuildPollFrame(frame, address, protocolCode);
  return QByteArray(reinterpret_cast<const char*>(frame), kFrameSize);
}

QByteArray ReadRequest(uint8_t address, uint8_t item, uint8_t idIndex) {
  uint8_t frame[kFrameSize];
  BuildReadFrame(frame, address, item, idIndex);
  return QByteArray(reinterpret_cast<const char*>(frame), kFrameSize);
}

QList<QByteArray> ReadCameraRequests(uint8_t address) {
  QList<QByteArray> frames;
  for (const uint8_t item : kTransferOrder) {
    const int count = item == kItemId ? static_cast<int>(kIdLength) : 1;
    for (int i = 0; i < count; ++i) {
      frames << ReadRequest(address, item, static_cast<uint8_t>(i));
    }
  }
  return frames;
}

QList<QByteArray> WithoutRepeats(const QList<QByteArray>& frames) {
  QList<QByteArray> kept;
  for (const QByteArray& frame : frames) {
    if (kept.isEmpty() || kept.last() != frame) kept << frame;
  }
  return kept;
}

QList<QByteArray> WithCommand(const QList<QByteArray>& frames, uint8_t command) {
  QList<QByteArray> kept;
  for (const QByteArray& frame : frames) {
    if (frame.size() == static_cast<qsizetype>(kFrameSize) &&
        static_cast<uint8_t>(frame[0]) == kFrameStart &&
        static_cast<uint8_t>(frame[4]) == command) {
      kept << frame;
    }
  }
  return kept;
}

void WhileModal(std::function<bool(QWidget* modal)> step, int waitMs) {
  auto* poll = new QTimer(qApp);  // owned by the application, deleted when done
  const QDeadlineTimer deadline(waitMs);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, deadline, step]() {
    QWidget* modal = QApplication::activeModalWidget();
    if (deadline.hasExpired()) {
      // A dialog left open would hang the test instead of failing it.
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    } else if (modal == nullptr || !step(modal)) {
      return;
    }
    poll->stop();
    poll->deleteLater();
  });
  poll->start(kModalPollMs);
}
