// The File menu's Save As and Open against a panel, with the file choice
// injected and the message boxes intercepted.
#include "ui/main_window/settings_file_commands.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>
#include <vector>

#include "link/camera_items.h"
#include "link/camera_panel.h"
#include "link/memory_panel.h"
#include "settings/settings_caption.h"
#include "tests/settings/settings_file_fixture.h"
#include "ui/widgets/message_box.h"

namespace {

struct Message {
  QString text;
  QString caption;
  MessageIcon icon;
};

QByteArray Contents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

const QByteArray kStartUpFile = QByteArray::fromStdString(SettingsFileFrom());

}  // namespace

class SettingsFileCommandsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  QWidget window_;
  MemoryPanel panel_;
  CameraLinkState state_{};
  std::vector<Message> messages_;
  QStringList proposals_;  // what the commands offered the chooser

  QString Path(const QString& name) const { return folder_.filePath(name); }

  // A chooser that answers with `path` and remembers what it was offered.
  SettingsFileChooser Choose(const QString& path) {
    return [this, path](QWidget* parent, const QString& proposed) {
      [&] { QCOMPARE(parent, &window_); }();
      proposals_ << proposed;
      return path;
    };
  }

  QString Save(const QString& caption, const QString& path, bool busy = false) {
    return SaveSettingsFileAs(&window_, panel_, state_, busy, caption, Choose(path));
  }
  QString Open(const QString& caption, const QString& path, bool busy = false) {
    return OpenSettingsFile(&window_, panel_, state_, busy, caption, Choose(path));
  }

  // Everything the file can change, as Save As sees it, plus what it cannot.
  QByteArray PanelState() {
    QTemporaryDir scratch;
    const QString path = scratch.filePath("state.TXT");
    const auto choose = [&path](QWidget*, const QString&) { return path; };
    [&] { QVERIFY(SaveSettingsFileAs(nullptr, panel_, state_, false, "x", choose) != "x"); }();
    return Contents(path) + QByteArray::number(panel_.Visible(PanelControl::ShutterIris)) +
           QByteArray::number(panel_.GainControlsVisible());
  }

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    QCoreApplication::setApplicationName("ZELTA");  // the program's title
    SetMessageInterceptor([this](const QString& text, const QString& caption, MessageIcon icon) {
      messages_.push_back({text, caption, icon});
    });
  }
  void cleanupTestCase() { SetMessageInterceptor({}); }

  void init() {
    panel_ = MemoryPanel();
    state_ = CameraLinkState{};
    SetPanelDefaults(panel_, state_);
    messages_.clear();
    proposals_.clear();
  }

  void saveRightAfterStartUpWritesTheDefaults() {
    const QString caption = Save(kUntitledCaption, Path("lobby.TXT"));
    QCOMPARE(proposals_, QStringList{"Untitled.TXT"});
    QCOMPARE(Contents(Path("lobby.TXT")), kStartUpFile);
    QCOMPARE(caption, QString(" - lobby.TXT"));
    QVERIFY(messages_.empty());
    Save(caption, Path("again.TXT"));
    QCOMPARE(proposals_.last(), QString("lobby.TXT"));
  }

  void aNameWithABlankProposesOnlyItsLastWord() {
    const QString caption = Save(kUntitledCaption, Path("my cam.TXT"));
    QCOMPARE(caption, QString(" - my cam.TXT"));
    Save(caption, Path("other.TXT"));
    QCOMPARE(proposals_.last(), QString("cam.TXT"));
  }

  void irisAndDashesAreSavedAsZero() {
    panel_.SetItemIndex(PanelControl::ShutterSel, 4);
    ApplyShutterReport(panel_, kShutterIrisValue);
    ApplySyncReport(panel_, kSyncDCValue);
    Save(kUntitledCaption, Path("iris.TXT"));
    QCOMPARE(Contents(Path("iris.TXT")), kStartUpFile);
  }

  void busyLinkOrCancelDoNothing() {
    const QByteArray before = PanelState();
    for (const bool busy : {true, false}) {
      const QString chosen = busy ? Path("busy.TXT") : QString();
      QCOMPARE(Save(" - a.TXT", chosen, busy), QString(" - a.TXT"));
      Put(Path("busy.TXT"), "D/N MODE&2");
      QCOMPARE(Open(" - a.TXT", busy ? Path("busy.TXT") : QString(), busy), QString(" - a.TXT"));
      QFile::remove(Path("busy.TXT"));
      QCOMPARE(proposals_.size(), busy ? 0 : 2);
    }
    QVERIFY(messages_.empty());
    QCOMPARE(PanelState(), before);
    QVERIFY(!QFile::exists(Path("busy.TXT")));
  }

  void readOnlyTargetStaysIntact() {
    const QString path = Path("locked.TXT");
    Put(path, "old contents");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(Save(" - before.TXT", path), QString(" - before.TXT"));
    QCOMPARE(Contents(path), QByteArray("old contents"));
    QCOMPARE(messages_.size(), size_t(1));
    QCOMPARE(messages_[0].caption, QString("ERROR"));
    QCOMPARE(messages_[0].icon, MessageIcon::Error);
    QVERIFY2(messages_[0].text.contains(path), qPrintable(messages_[0].text));
    QVERIFY2(messages_[0].text.contains("Permission denied"), qPrintable(messages_[0].text));
    QCOMPARE(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).filter("locked"),
             QStringList{"locked.TXT"});
  }

  void openLoadsTheFileAndNamesIt() {
    QByteArray file = kStartUpFile;
    file.replace("D/N MODE&0", "X&2").replace("ID.&", "ID.&cam 1").replace("RED&15", "RED&40");
    file.replace("WHITE BAL&0", "WHITE BAL&3").replace("ColToWb&1", "ColToWb&80");
    Put(Path("site 7.TXT"), file);
    QCOMPARE(Open(kUntitledCaption, Path("site 7.TXT")), QString(" - site 7.TXT"));
    QCOMPARE(proposals_, QStringList{QString()});
    QVERIFY(messages_.empty());
    QCOMPARE(panel_.ItemIndex(PanelControl::DNModeSel), 2);
    QCOMPARE(panel_.IdEditText(), std::string("cam 1"));
    QCOMPARE(panel_.Position(PanelControl::RedUpDown), 40);
    QCOMPARE(panel_.NumEditText(PanelControl::RedUpDown), std::string("40"));
    QVERIFY(panel_.GainControlsVisible());
    QCOMPARE(state_.ColToWbCode, kDelayCodeSpecial);
  }

  void aBadFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    const QByteArray fiveLines = kStartUpFile.left(kStartUpFile.indexOf("GAIN&"));
    QTest::newRow("five lines") << QByteArray(fiveLines).replace("D/N MODE&0", "D/N MODE&2")
                                << "File format is error."
                                << "ERROR";
    QTest::newRow("limit") << QByteArray(kStartUpFile).replace("D/N LEVEL&1", "D/N LEVEL&2")
                           << "File format is error."
                           << "ERROR";
    QTest::newRow("red 64") << QByteArray(kStartUpFile).replace("RED&15", "RED&64")
                            << "File format is error."
                            << "ERROR";
    QTest::newRow("id") << QByteArray(kStartUpFile).replace("ID.&", "ID.&CAM_1")
                        << "File format is error."
                        << "ERROR";
    QTest::newRow("not an integer") << QByteArray(kStartUpFile).replace("PREDTMSP&0", "PREDTMSP&1A")
                                    << "'1A' is not a valid integer value"
                                    << "ZELTA";
    QTest::newRow("empty value") << QByteArray(kStartUpFile).replace("GAMMA&1", "GAMMA&")
                                 << "'' is not a valid integer value"
                                 << "ZELTA";
    QTest::newRow("long value")
        << QByteArray(kStartUpFile).replace("BLC&0", "BLC&" + QByteArray(4000, '7') + "x")
        << "'" + QString(60, '7') + "...' is not a valid integer value"
        << "ZELTA";
    QTest::newRow("line over 4096 bytes")
        << QByteArray(kStartUpFile).replace("BLC&0", "BLC&" + QByteArray(4093, '0'))
        << "File format is error."
        << "ERROR";
  }
  void aBadFileChangesNothing() {
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    panel_.SetItemIndex(PanelControl::DNModeSel, 1);
    panel_.SetIdEditText("KEEP");
    state_.WbToColCode = 3;
    const QByteArray before = PanelState();
    Put(Path("bad.TXT"), file);
    QCOMPARE(Open(" - good.TXT", Path("bad.TXT")), QString(" - good.TXT"));
    QCOMPARE(messages_.size(), size_t(1));
    QCOMPARE(messages_[0].text, text);
    QCOMPARE(messages_[0].caption, caption);
    QCOMPARE(messages_[0].icon, MessageIcon::Error);
    QCOMPARE(PanelState(), before);
  }

  void anUnreadableFileIsReported() {
    // A FIFO without a writer would freeze the window; /dev/zero never ends.
    QVERIFY(mkfifo(qPrintable(Path("fifo.TXT")), 0600) == 0);
    const std::pair<QString, QString> cases[] = {
        {Path("gone.TXT"), "No such file or directory"},
        {"/dev/zero", "Not a regular file"},
        {Path("fifo.TXT"), "Not a regular file"},
    };
    const QByteArray before = PanelState();
    for (const auto& [path, reason] : cases) {
      messages_.clear();
      QCOMPARE(Open(" - good.TXT", path), QString(" - good.TXT"));
      QCOMPARE(messages_.size(), size_t(1));
      QCOMPARE(messages_[0].caption, QString("ERROR"));
      QCOMPARE(messages_[0].icon, MessageIcon::Error);
      QVERIFY2(messages_[0].text.contains(path), qPrintable(messages_[0].text));
      QVERIFY2(messages_[0].text.contains(reason), qPrintable(messages_[0].text));
    }
    QCOMPARE(PanelState(), before);
  }

  void whatSaveAsWritesOpenReadsBack() {
    panel_.SetItemIndex(PanelControl::BlcSel, -1);
    panel_.SetItemIndex(PanelControl::WhiteBalSel, kWhiteBalManual);
    ShowWhiteBalance(panel_);
    panel_.SetPosition(PanelControl::BlueUpDown, 0);
    panel_.SetIdEditText("ABCDEFGHIJKLMNOPQRST");
    state_.ColToWbCode = kDelayCodeSpecial;
    state_.WbToColCode = 0;
    const QByteArray saved = PanelState();
    QCOMPARE(Save(kUntitledCaption, Path("trip.TXT")), QString(" - trip.TXT"));
    init();
    QVERIFY(PanelState() != saved);
    QCOMPARE(Open(kUntitledCaption, Path("trip.TXT")), QString(" - trip.TXT"));
    QVERIFY(messages_.empty());
    QCOMPARE(PanelState(), saved);
  }

  // A camera's ID bytes outside the set (CR, unset memory) are saved as
  // blanks, so the file opens again.
  void aCamerasOddIdIsSavedSoItOpensAgain() {
    for (uint8_t position = 0; position < kIdLength; ++position) {
      const uint8_t c = position == 1 ? '\r' : position == 2 ? 0xFF : 'A';
      ApplyReadReply(panel_, state_, kItemId, position, c);
    }
    Save(kUntitledCaption, Path("odd.TXT"));
    QVERIFY(Contents(Path("odd.TXT")).contains("\r\nID.&A  AAAAAAAAAAAAA\r\n"));
    init();
    QCOMPARE(Open(kUntitledCaption, Path("odd.TXT")), QString(" - odd.TXT"));
    QVERIFY(messages_.empty());
    QCOMPARE(panel_.IdEditText(), std::string("A  AAAAAAAAAAAAA"));
  }

  void dialogsAreSetUpForTextFiles() {
    const auto save = MakeSettingsSaveDialog(&window_, "lobby.TXT");
    QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save->defaultSuffix(), QString("TXT"));
    QCOMPARE(save->nameFilters(), QStringList{"TXT FILE(*.TXT)"});
    QVERIFY(!save->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(save->parentWidget(), &window_);
    const auto open = MakeSettingsOpenDialog(&window_);
    QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(open->defaultSuffix(), QString("TXT"));
    QCOMPARE(open->nameFilters(), QStringList{"TXT FILE(*.TXT)"});
  }
};

QTEST_MAIN(SettingsFileCommandsTest)
#include "settings_file_commands_test.moc"
