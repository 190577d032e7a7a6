// Help context numbers of the real main window and its image delay dialog,
// and F1 on them.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "tests/ui/support/control_fixture.h"
#include "tests/ui/support/window_child.h"
#include "ui/dialogs/adapters_form.h"
#include "ui/dialogs/image_delay_form.h"
#include "ui/main_window/control_form.h"
#include "ui/widgets/control_up_down.h"
#include "ui/widgets/help_file.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/help_viewer.h"

namespace {

int Context(const QObject* object) {
  const QVariant value = object->property(kHelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

}  // namespace

class HelpFormContextsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ShippedHelpFile> help_;
  std::unique_ptr<StartedWindow> started_;

 private slots:
  void initTestCase() {
    help_ = std::make_unique<ShippedHelpFile>();
    started_ = std::make_unique<StartedWindow>();
    QVERIFY(started_->form != nullptr);
  }
  void cleanupTestCase() {
    started_.reset();
    help_.reset();
  }

  void everyControlCarriesItsNumber() {
    TForm1& f = *started_->form;
    const std::pair<QObject*, int> expected[] = {
        {Child<QAction>(&f, "Open1"), 11},
        {Child<QAction>(&f, "SaveAs1"), 12},
        {Child<QAction>(&f, "SerialCOM1"), 16},
        {Child<QAction>(&f, "SerialCOM2"), 16},
        {Child<QAction>(&f, "Adapters"), kAdaptersHelpContext},
        {Child<QAction>(&f, "PelcoP"), 21},
        {Child<QAction>(&f, "PelcoD"), 21},
        {Child<QAction>(&f, "ERNITEC"), 21},
        {Child<QAction>(&f, "GetRS422SETS1"), 26},
        {Child<QAction>(&f, "ImageTime"), 27},
        {Child<QAction>(&f, "ChangPassword"), 28},
        {Child<QAction>(&f, "BR1200"), 29},
        {Child<QAction>(&f, "BR2400"), 29},
        {Child<QAction>(&f, "BR4800"), 29},
        {Child<QAction>(&f, "BR9600"), 29},
        {Child<QToolButton>(&f, "ColSpeed"), 36},
        {Child<QToolButton>(&f, "WBSpeed"), 37},
        {Child<QToolButton>(&f, "OSDOnSpeed"), 38},
        {Child<QToolButton>(&f, "ProtocolSpeed"), 39},
        {Child<QToolButton>(&f, "KeyboardSpeed"), 40},
        {Child<QToolButton>(&f, "UpButton"), 41},
        {Child<QToolButton>(&f, "DownButton"), 42},
        {Child<QToolButton>(&f, "LeftButton"), 43},
        {Child<QToolButton>(&f, "RightButton"), 44},
        {Child<QToolButton>(&f, "SelectButton"), 45},
        {Child<QPushButton>(&f, "ReadButton"), 46},
        {Child<QPushButton>(&f, "WriteButton"), 47},
        {Child<QComboBox>(&f, "DNModeSel"), 56},
        {Child<QComboBox>(&f, "DNLevelSel"), 57},
        {Child<QComboBox>(&f, "DNFilSel"), 58},
        {Child<QComboBox>(&f, "ShutterSel"), 59},
        {Child<QComboBox>(&f, "ShutterIris"), 59},
        {Child<QComboBox>(&f, "GainSel"), 60},
        {Child<QComboBox>(&f, "SyncSel"), 61},
        {Child<QComboBox>(&f, "SyncDC"), 61},
        {Child<QComboBox>(&f, "GammaSel"), 62},
        {Child<QComboBox>(&f, "BlcSel"), 63},
        {Child<QComboBox>(&f, "WhiteBalSel"), 64},
        {Child<QComboBox>(&f, "SharpnessSel"), 65},
        {Child<QComboBox>(&f, "PredtmspSel"), 66},
        {Child<QLineEdit>(&f, "IdEdit"), 67},
        {Child<QComboBox>(&f, "IDPosSel"), 68},
        {Child<TUpDown>(&f, "RedUpDown"), 68},
        {Child<TUpDown>(&f, "BlueUpDown"), 68},
        {Child<QLineEdit>(&f, "RedNumEdit"), 68},
        {Child<QLineEdit>(&f, "BlueNumEdit"), 68},
        {Child<QComboBox>(&f, "HundredAdd"), 81},
        {Child<QComboBox>(&f, "TenAdd"), 81},
        {Child<QComboBox>(&f, "UnitAdd"), 81},
    };
    for (const auto& [object, number] : expected) {
      QVERIFY(object != nullptr);
      QCOMPARE(Context(object), number);
    }
    // Top menu items with a topic, and those without.
    QCOMPARE(HelpContextOf(Child<QMenu>(&f, "COMPORT1")), 16);
    QCOMPARE(HelpContextOf(Child<QMenu>(&f, "ADDRESSSET1")), 29);
    QCOMPARE(HelpContextOf(Child<QMenu>(&f, "Protocol1")), 21);
    for (QMenu* menu :
         {Child<QMenu>(&f, "File1"), Child<QMenu>(&f, "R1"), Child<QMenu>(&f, "Help")})
      QCOMPARE(HelpContextOf(menu), 0);
    QCOMPARE(Context(Child<QAction>(&f, "Help1")), 0);
    QCOMPARE(Context(Child<QAction>(&f, "about2")), 0);
    TImageDelayForm* dialog = f.ImageDelayForm;
    QVERIFY(dialog != nullptr);
    for (QWidget* control : std::initializer_list<QWidget*>{
             dialog->CloseButton, dialog->ColToWbComboBox, dialog->WbToColComboBox,
             dialog->ReadImageDelay, dialog->WriteImageDelay}) {
      QCOMPARE(HelpContextOf(control), 27);
    }
  }

  void f1OnAControlOpensItsTopic() {
    started_->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(started_->form.get()));
    started_->form->activateWindow();
    Child<QLineEdit>(started_->form, "IdEdit")->setFocus();
    QTRY_VERIFY(Child<QLineEdit>(started_->form, "IdEdit")->hasFocus());
    QTest::keyClick(Child<QLineEdit>(started_->form, "IdEdit"), Qt::Key_F1);
    THelpViewer* viewer = ViewerOf(started_->form.get());
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->CurrentTopic(), 67);
    QVERIFY(viewer->HasTopic(67));
    QVERIFY(Child<QLineEdit>(started_->form, "IdEdit")->text().isEmpty());  // F1 types nothing

    Child<QComboBox>(started_->form, "UnitAdd")->setFocus();
    QTest::keyClick(Child<QComboBox>(started_->form, "UnitAdd"), Qt::Key_F1);
    QCOMPARE(viewer->CurrentTopic(), 81);
  }

  void f1OnAHighlightedMenuItemOpensItsTopic() {
    QMenu* menu = Child<QMenu>(started_->form, "Protocol1");
    menu->popup(started_->form->mapToGlobal(QPoint(0, 0)));
    menu->setActiveAction(Child<QAction>(started_->form, "PelcoD"));
    QTest::keyClick(menu, Qt::Key_F1);
    QCOMPARE(ViewerOf(started_->form.get())->CurrentTopic(), 21);
    QVERIFY(!Child<QAction>(started_->form, "PelcoD")->isChecked());  // F1 chose nothing
    menu->hide();
  }

  void f1InTheImageDelayDialogOpensItsTopic() {
    TImageDelayForm* dialog = started_->form->ImageDelayForm;
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClick(dialog->CloseButton, Qt::Key_F1);
    QCOMPARE(ViewerOf(started_->form.get())->CurrentTopic(), 27);
    dialog->hide();
  }
};

QTEST_MAIN(HelpFormContextsTest)
#include "help_form_contexts_test.moc"
