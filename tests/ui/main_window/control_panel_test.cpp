// The address selector and the settings panel as the user works them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "link/camera_items.h"
#include "link/camera_link_state.h"
#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_up_down.h"

class ControlPanelTest : public QObject {
  Q_OBJECT

 private:
  TestProgramFolder folder_;
  std::unique_ptr<PtyLine> com1_;
  std::unique_ptr<MessageLog> messages_;
  std::unique_ptr<TForm1> form_;

  void SetAddress(int hundreds, int tens, int units) {
    Choose(Child<QComboBox>(form_, "HundredAdd"), hundreds);
    Choose(Child<QComboBox>(form_, "TenAdd"), tens);
    Choose(Child<QComboBox>(form_, "UnitAdd"), units);
  }

  QStringList GainControlsShown() const {
    QStringList shown;
    for (QWidget* w : {static_cast<QWidget*>(Child<QLabel>(form_, "RedLabel")),
                       static_cast<QWidget*>(Child<QLabel>(form_, "BlueLabel")),
                       static_cast<QWidget*>(Child<QLineEdit>(form_, "RedNumEdit")),
                       static_cast<QWidget*>(Child<QLineEdit>(form_, "BlueNumEdit")),
                       static_cast<QWidget*>(Child<TUpDown>(form_, "RedUpDown")),
                       static_cast<QWidget*>(Child<TUpDown>(form_, "BlueUpDown"))}) {
      if (!w->isHidden()) shown << w->objectName();
    }
    return shown;
  }

 private slots:
  void initTestCase() { com1_ = std::make_unique<PtyLine>(folder_, QStringLiteral("Com1")); }

  void init() {
    messages_ = std::make_unique<MessageLog>();
    form_ = StartForm(folder_);
    messages_->Clear();
  }

  void cleanup() {
    form_.reset();
    messages_.reset();
  }

  void addressZeroIsRefusedInEachList_data() {
    QTest::addColumn<int>("hundreds");
    QTest::addColumn<int>("tens");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("list");  // 0 hundreds, 1 tens, 2 units
    QTest::addColumn<int>("address");
    QTest::newRow("1, units to 0") << 0 << 0 << 1 << 2 << 1;
    QTest::newRow("100, hundreds to 0") << 1 << 0 << 0 << 0 << 100;
    QTest::newRow("50, tens to 0") << 0 << 5 << 0 << 1 << 50;
  }

  void addressZeroIsRefusedInEachList() {
    QFETCH(int, hundreds);
    QFETCH(int, tens);
    QFETCH(int, units);
    QFETCH(int, list);
    QFETCH(int, address);
    SetAddress(hundreds, tens, units);
    QCOMPARE(int(CameraAddress), address);
    QVERIFY(messages_->Messages().isEmpty());

    QComboBox* const lists[] = {Child<QComboBox>(form_, "HundredAdd"),
                                Child<QComboBox>(form_, "TenAdd"),
                                Child<QComboBox>(form_, "UnitAdd")};
    const int before = lists[list]->currentIndex();
    Choose(lists[list], 0);
    QCOMPARE(messages_->Texts(), QStringList{QStringLiteral("Address rang : 1~199")});
    QCOMPARE(messages_->Messages().first().caption, QStringLiteral("Error"));
    QCOMPARE(messages_->Messages().first().icon, MessageIcon::Error);
    QCOMPARE(lists[list]->currentIndex(), before);
    QCOMPARE(int(CameraAddress), address);
  }

  void addressChangesWithoutDialog() {
    SetAddress(1, 0, 5);
    QCOMPARE(int(CameraAddress), 105);
    Choose(Child<QComboBox>(form_, "UnitAdd"), 0);
    QCOMPARE(int(CameraAddress), 100);
    SetAddress(1, 9, 9);
    QCOMPARE(int(CameraAddress), 199);
    QCOMPARE(Child<QComboBox>(form_, "HundredAdd")->count(), 2);
    QVERIFY(messages_->Messages().isEmpty());
    // The lists work while a transfer runs.
    LinkState.WriteBusy = 1;
    Choose(Child<QComboBox>(form_, "TenAdd"), 2);
    LinkState.WriteBusy = 0;
    QCOMPARE(int(CameraAddress), 129);
  }

  void reportedAddressIsShownWithoutChangeHandlers() {
    form_->LinkView().ShowAddress(37);
    QCOMPARE(Child<QComboBox>(form_, "HundredAdd")->currentIndex(), 0);
    QCOMPARE(Child<QComboBox>(form_, "TenAdd")->currentIndex(), 3);
    QCOMPARE(Child<QComboBox>(form_, "UnitAdd")->currentIndex(), 7);
    // Setting the lists from the program raises no dialog and keeps CameraAddress.
    form_->LinkView().ShowAddress(0);
    QVERIFY(messages_->Messages().isEmpty());
    // Above 199 the hundreds list has no entry to show.
    CameraAddress = 250;
    form_->LinkView().ShowAddress(250);
    QCOMPARE(Child<QComboBox>(form_, "HundredAdd")->currentIndex(), -1);
    QCOMPARE(Child<QComboBox>(form_, "TenAdd")->currentIndex(), 5);
    // A user choice afterwards counts the empty list as 0.
    Choose(Child<QComboBox>(form_, "UnitAdd"), 3);
    QCOMPARE(int(CameraAddress), 53);
  }

  void manualWhiteBalanceShowsTheGains() {
    QVERIFY(GainControlsShown().isEmpty());
    Child<TUpDown>(form_, "RedUpDown")->SetPosition(20);  // hidden gains keep their positions
    Choose(Child<QComboBox>(form_, "WhiteBalSel"), kWhiteBalManual);
    QCOMPARE(GainControlsShown().size(), 6);
    QCOMPARE(Child<QLineEdit>(form_, "RedNumEdit")->text(), QStringLiteral("20"));
    QCOMPARE(Child<QLineEdit>(form_, "BlueNumEdit")->text(), QStringLiteral("15"));

    Choose(Child<QComboBox>(form_, "WhiteBalSel"), 2);  // "AWC"
    QVERIFY(GainControlsShown().isEmpty());
    QCOMPARE(Child<TUpDown>(form_, "RedUpDown")->Position(), 20);
    QCOMPARE(Child<TUpDown>(form_, "BlueUpDown")->Position(), 15);
  }

  void gainsClampAtBothEnds() {
    Choose(Child<QComboBox>(form_, "WhiteBalSel"), kWhiteBalManual);
    for (int i = 0; i < 20; ++i) Child<TUpDown>(form_, "RedUpDown")->DownArrow()->click();
    QCOMPARE(Child<TUpDown>(form_, "RedUpDown")->Position(), 0);
    QCOMPARE(Child<QLineEdit>(form_, "RedNumEdit")->text(), QStringLiteral("0"));
    Child<TUpDown>(form_, "RedUpDown")->DownArrow()->click();  // no wrap to 63
    QCOMPARE(Child<TUpDown>(form_, "RedUpDown")->Position(), 0);
    QCOMPARE(Child<QLineEdit>(form_, "RedNumEdit")->text(), QStringLiteral("0"));

    for (int i = 0; i < 60; ++i) Child<TUpDown>(form_, "BlueUpDown")->UpArrow()->click();
    QCOMPARE(Child<TUpDown>(form_, "BlueUpDown")->Position(), 63);
    QCOMPARE(Child<QLineEdit>(form_, "BlueNumEdit")->text(), QStringLiteral("63"));
    Child<TUpDown>(form_, "BlueUpDown")->UpArrow()->click();
    QCOMPARE(Child<TUpDown>(form_, "BlueUpDown")->Position(), 63);
    Child<TUpDown>(form_, "BlueUpDown")->DownArrow()->click();
    QCOMPARE(Child<QLineEdit>(form_, "BlueNumEdit")->text(), QStringLiteral("62"));
    // The camera link's positions are kept within range too.
    form_->Panel().SetPosition(PanelControl::RedUpDown, 99);
    QCOMPARE(Child<QLineEdit>(form_, "RedNumEdit")->text(), QStringLiteral("63"));
  }

  void leavingTheIrisList() {
    ApplyShutterReport(form_->Panel(), kShutterIrisValue);
    QVERIFY(!Child<QComboBox>(form_, "ShutterIris")->isHidden() &&
            Child<QComboBox>(form_, "ShutterSel")->isHidden());
    QCOMPARE(Child<QComboBox>(form_, "ShutterIris")->currentText(), QStringLiteral("IRIS"));

    Choose(Child<QComboBox>(form_, "ShutterIris"), 9);  // "IRIS" again: stays
    QVERIFY(!Child<QComboBox>(form_, "ShutterIris")->isHidden() &&
            Child<QComboBox>(form_, "ShutterSel")->isHidden());

    Choose(Child<QComboBox>(form_, "ShutterIris"), 2);  // "1/120"
    QVERIFY(Child<QComboBox>(form_, "ShutterIris")->isHidden() &&
            !Child<QComboBox>(form_, "ShutterSel")->isHidden());
    QCOMPARE(Child<QComboBox>(form_, "ShutterSel")->currentText(), QStringLiteral("1/120"));
    QCOMPARE(Child<QComboBox>(form_, "ShutterSel")->count(), 9);
  }

  void leavingTheDashList() {
    ApplySyncReport(form_->Panel(), kSyncDCValue);
    QVERIFY(!Child<QComboBox>(form_, "SyncDC")->isHidden() &&
            Child<QComboBox>(form_, "SyncSel")->isHidden());

    Choose(Child<QComboBox>(form_, "SyncDC"), 2);  // "---" again: stays
    QVERIFY(!Child<QComboBox>(form_, "SyncDC")->isHidden() &&
            Child<QComboBox>(form_, "SyncSel")->isHidden());

    Choose(Child<QComboBox>(form_, "SyncDC"), 1);  // "INT"
    QVERIFY(Child<QComboBox>(form_, "SyncDC")->isHidden() &&
            !Child<QComboBox>(form_, "SyncSel")->isHidden());
    QCOMPARE(Child<QComboBox>(form_, "SyncSel")->currentText(), QStringLiteral("INT"));
  }

  void otherListsChangeNothingElse() {
    const auto snapshot = [this] {
      QStringList state;
      for (QComboBox* list : form_->findChildren<QComboBox*>()) {
        state << list->objectName() + "=" + QString::number(list->currentIndex()) +
                     (list->isHidden() ? "h" : "v");
      }
      return state;
    };
    const QStringList before = snapshot();
    Choose(Child<QComboBox>(form_, "DNModeSel"), 2);
    Choose(Child<QComboBox>(form_, "BlcSel"), 4);
    Choose(Child<QComboBox>(form_, "GammaSel"), 0);
    QStringList after = snapshot();
    QCOMPARE(after.size(), before.size());
    int changed = 0;
    for (int i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    QCOMPARE(changed, 3);
    QVERIFY(GainControlsShown().isEmpty());
    QCOMPARE(Child<QComboBox>(form_, "BlcSel")->currentText(), QStringLiteral("BLC4 "));
  }

  void panelReadsAndWritesTheDelayLists() {
    form_->Panel().SetItemIndex(PanelControl::ColToWbComboBox, 3);
    QCOMPARE(form_->Panel().ItemIndex(PanelControl::ColToWbComboBox), 3);
    form_->Panel().SetItemIndex(PanelControl::WbToColComboBox, 4);  // code 0x50: no entry
    QCOMPARE(form_->Panel().ItemIndex(PanelControl::WbToColComboBox), -1);
    form_->Panel().SetIdEditText("CAM 01");
    QCOMPARE(form_->Panel().IdEditText(), std::string("CAM 01"));
  }
};

QTEST_MAIN(ControlPanelTest)
#include "control_panel_test.moc"
