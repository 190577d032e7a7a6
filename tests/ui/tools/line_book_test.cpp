// The line book in the window against a line of simulated cameras: a backup
// of two cameras and a silent address, a camera compared with the panel and
// taken into it, and a restore from a file changed behind ZELTA's back.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/memory_panel.h"
#include "link/qam_protocol.h"
#include "settings/settings_writer.h"
#include "tests/ui/support/cam_sim.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/settings_file_commands.h"
#include "ui/tools/compare_camera_dialog.h"
#include "ui/tools/line_backup_dialog.h"
#include "ui/tools/line_restore_dialog.h"

namespace {

constexpr int kRunMs = 60000;

QString Cell(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* cell = table->item(row, column);
  return cell ? cell->text() : QStringLiteral("(none)");
}

// Presses Start and waits for the run to end.
void Run(QDialog* dialog) {
  auto* start = Child<QPushButton>(dialog, "StartButton");
  start->click();
  QVERIFY(!start->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(start->isEnabled(), kRunMs);
}

// The items the comparison marks as differing.
QStringList Marked(QDialog* compare) {
  const auto* table = Child<QTableWidget>(compare, "CompareTable");
  if (table->rowCount() == 0) return {QStringLiteral("(nothing read)")};
  QStringList marked;
  for (int row = 0; row < table->rowCount(); ++row) {
    if (table->item(row, 2)->font().bold()) marked << table->item(row, 0)->text();
  }
  return marked;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class LineBookTest : public QObject {
  Q_OBJECT

 private slots:
  void aLineIsBackedUpComparedAndRestored() {
    TestProgramFolder folder;
    MessageLog messages;
    CamSim sim(folder,
               {"--baud", "4800", "--cameras", "1-2", "--set", "2:SHUTTER=3", "--id", "2:LOBBY"});
    if (!sim.Ready()) QSKIP("zelta-camsim is not built beside the test");
    auto form = StartForm(folder);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("line"));
    const QString idBefore = form->Panel().IdEditText().c_str();

    // Camera 3 is not on the line.
    LineBackupDialog backup(*form, {}, form.get());
    Child<QLineEdit>(&backup, "AddressEdit")->setText(QStringLiteral("1-3"));
    Child<QLineEdit>(&backup, "FolderEdit")->setText(book);
    Run(&backup);
    const auto* rows = Child<QTableWidget>(&backup, "ResultTable");
    QCOMPARE(rows->rowCount(), 3);
    QCOMPARE(Cell(rows, 0, 2), QStringLiteral("Saved 001.TXT"));
    QCOMPARE(Cell(rows, 1, 1).trimmed(), QStringLiteral("LOBBY"));
    QCOMPARE(Cell(rows, 1, 2), QStringLiteral("Saved 002.TXT"));
    QCOMPARE(Cell(rows, 2, 2), QStringLiteral("No answer"));
    QVERIFY(QFile::exists(book + "/001.TXT") && !QFile::exists(book + "/003.TXT"));
    QCOMPARE(FileBytes(book + "/line.csv").count("\r\n"), 4);
    // The user's panel and camera stay as they were.
    QCOMPARE(QString::fromStdString(form->Panel().IdEditText()), idBefore);
    QCOMPARE(form->Link().Address(), uint8_t{1});

    // Camera 2 beside the panel at its defaults; taken, the panel saves as its backup.
    QVERIFY(form->UseCamera(2, static_cast<uint8_t>(CodeOfBaud(4800))));
    CompareCameraDialog compare(*form, form.get());
    Run(&compare);
    QCOMPARE(Marked(&compare), (QStringList{"SHUTTER", "ID."}));
    // Not while a transfer runs.
    form->Link().ReadButtonClick();
    QVERIFY(form->Link().LinkBusy());
    Child<QPushButton>(&compare, "TakeButton")->click();
    QCOMPARE(form->Panel().IdEditText(), idBefore.toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(!form->Link().LinkBusy(), kRunMs);
    form->Panel().SetIdEditText(idBefore.toStdString());
    Child<QPushButton>(&compare, "TakeButton")->click();
    QCOMPARE(Marked(&compare), QStringList());
    QCOMPARE(QByteArray::fromStdString(SettingsFileText(form->Panel(), LinkState)),
             FileBytes(book + "/002.TXT"));

    // Camera 2's file now asks for another shutter speed.
    MemoryPanel changed;
    CameraLinkState delays = LinkState;
    QVERIFY(LoadSettingsFile(nullptr, book + "/002.TXT", changed, delays));
    changed.SetItemIndex(PanelControl::ShutterSel, 5);
    QFile file(book + "/002.TXT");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(SettingsFileText(changed, delays)));
    file.close();

    LineRestoreDialog restore(*form, form.get());
    Child<QLineEdit>(&restore, "FolderEdit")->setText(book);
    Child<QPushButton>(&restore, "BackupButton")->click();
    QCOMPARE(Child<QLineEdit>(&restore, "AddressEdit")->text(), QStringLiteral("1-2"));
    // A camera without a file stops the restore before anything is sent.
    Child<QLineEdit>(&restore, "AddressEdit")->setText(QStringLiteral("1-3"));
    Child<QPushButton>(&restore, "StartButton")->click();
    QCOMPARE(messages.Texts(), QStringList{"The backup holds no file of camera 3."});
    QVERIFY(!form->Link().LinkBusy());
    messages.Clear();
    Child<QLineEdit>(&restore, "AddressEdit")->setText(QStringLiteral("2, 1"));
    Run(&restore);
    const auto* written = Child<QTableWidget>(&restore, "ResultTable");
    QCOMPARE(written->rowCount(), 2);
    QCOMPARE(Cell(written, 0, 0), QStringLiteral("2"));
    QCOMPARE(Cell(written, 0, 1), QStringLiteral("OK"));
    QCOMPARE(Cell(written, 1, 1), QStringLiteral("OK"));

    // The camera holds the file's settings; the panel is still those taken.
    Child<QRadioButton>(&compare, "FileSource")->setChecked(true);
    Child<QLineEdit>(&compare, "FileEdit")->setText(book + "/002.TXT");
    Run(&compare);
    QCOMPARE(Marked(&compare), QStringList());
    QCOMPARE(form->Panel().ItemIndex(PanelControl::ShutterSel), 3);
    QCOMPARE(messages.Texts(), QStringList());
  }
};

QTEST_MAIN(LineBookTest)
#include "line_book_test.moc"
