// Shared pieces of the end-to-end tests: a camera's settings as the simulator
// is started with them and as the main window's panel shows them, the request
// frames ZELTA must send, and waits on the real clock with generous limits.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "link/link_services.h"
#include "ui/main_window/control_application.h"

class QWidget;
class TForm1;
class TestProgramFolder;

// Limits of the waits. They only bound a failing test: a passing one goes on
// as soon as its condition holds, so they are generous for a loaded machine.
constexpr int kLinkWaitMs = 15000;      // lamp, status texts
constexpr int kTransferWaitMs = 40000;  // a whole Read Camera or Write Camera
constexpr int kTraceWaitMs = 10000;     // a frame reaching the simulator

// The settings a camera holds: the fifteen panel items (list items by list
// position, the gains by value) and the ID text of sixteen characters.
struct CameraValues {
  std::map<uint8_t, int> items;  // item code -> list position or gain
  QString id;                    // sixteen characters

  bool operator==(const CameraValues& other) const {
    return items == other.items && id == other.id;
  }
  QString Text() const;
};

// The list position of `entry` in the list of `item` (-1 when it has none).
int ListPosition(uint8_t item, const char* entry);
// The simulator's options that start it holding `values`.
QStringList SimOptionsFor(const CameraValues& values);
// What the main window's panel shows.
CameraValues PanelValues(const TForm1& form);
// A camera with every item away from the program's defaults: WHITE BAL
// "MANUAL" with gains 40/22, ID "LOBBY-2", SHUTTER "1/250".
CameraValues LobbyCamera();

// The main window started over `folder` with the stored test password, shown.
std::unique_ptr<TForm1> StartZelta(const TestProgramFolder& folder);

bool WaitForLamp(const TForm1& form, LampColour colour, int waitMs = kLinkWaitMs);
bool WaitForStatus(const TForm1& form, const QString& text, int waitMs = kLinkWaitMs);
QString Describe(const TForm1& form);

// Frames ZELTA sends, built with the link's own builders.
QByteArray PollRequest(uint8_t address, uint8_t protocolCode);
QByteArray ReadRequest(uint8_t address, uint8_t item, uint8_t idIndex);
// The thirty read requests of one Read Camera, in transfer order.
QList<QByteArray> ReadCameraRequests(uint8_t address);
// Drops a frame equal to the one before it: the watchdog repeats a request
// when a loaded machine is late with the reply, which is not a fault.
QList<QByteArray> WithoutRepeats(const QList<QByteArray>& frames);
// Of `frames`, those whose command byte is `command`.
QList<QByteArray> WithCommand(const QList<QByteArray>& frames, uint8_t command);

// Runs `step` on the event loop every few milliseconds while a modal dialog
// opened by the code under test is up, until it returns true or `waitMs`
// pass. Set it up before the call that opens the dialog.
void WhileModal(std::function<bool(QWidget* modal)> step, int waitMs = kTransferWaitMs);

// The test program's main: the program's own application object, so that an
// exception escaping a handler is shown as an error box (which the tests'
// MessageLog records), as in the program.
#define ZELTA_E2E_MAIN(TestObject)                             \
  int main(int argc, char** argv) {                            \
    TApplication application(argc, argv);                      \
    TApplication::setApplicationName(QStringLiteral("ZELTA")); \
    application.setQuitOnLastWindowClosed(false);              \
    TestObject test;                                           \
    return QTest::qExec(&test, argc, argv);                    \
  }
