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

THelpViewer* ViewerOf(QWidget* window) {
  return window->findChild<THelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

class HelpFormContextsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestProgramFolder> folder_;
  std::unique_ptr<MessageLog> messages_;
  std::unique_ptr<PtyLine> com1_;
  std::unique_ptr<TForm1> form_;

 private slots:
  void initTestCase() {
    SetHelpFilePath(QFINDTESTDATA("../../resources/help/ZELTAHELP.HLP"));
    folder_ = std::make_unique<TestProgramFolder>();
    messages_ = std::make_unique<MessageLog>();
    com1_ = std::make_unique<PtyLine>(*folder_, QStringLiteral("Com1"));
    form_ = StartForm(*folder_);
    QVERIFY(form_ != nullptr);
  }
  void cleanupTestCase() {
    form_.reset();
    com1_.reset();
    messages_.reset();
    folder_.reset();
    SetHelpFilePath(QString());
  }

  void everyControlCarriesItsNumber() {
    TForm1& f = *form_;
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
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    form_->activateWindow();
    Child<QLineEdit>(form_, "IdEdit")->setFocus();
    QTRY_VERIFY(Child<QLineEdit>(form_, "IdEdit")->hasFocus());
    QTest::keyClick(Child<QLineEdit>(form_, "IdEdit"), Qt::Key_F1);
    THelpViewer* viewer = ViewerOf(form_.get());
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->CurrentTopic(), 67);
    QVERIFY(viewer->HasTopic(67));
    QVERIFY(Child<QLineEdit>(form_, "IdEdit")->text().isEmpty());  // F1 types nothing

    Child<QComboBox>(form_, "UnitAdd")->setFocus();
    QTest::keyClick(Child<QComboBox>(form_, "UnitAdd"), Qt::Key_F1);
    QCOMPARE(viewer->CurrentTopic(), 81);
  }

  void f1OnAHighlightedMenuItemOpensItsTopic() {
    QMenu* menu = Child<QMenu>(form_, "Protocol1");
    menu->popup(form_->mapToGlobal(QPoint(0, 0)));
    menu->setActiveAction(Child<QAction>(form_, "PelcoD"));
    QTest::keyClick(menu, Qt::Key_F1);
    QCOMPARE(ViewerOf(form_.get())->CurrentTopic(), 21);
    QVERIFY(!Child<QAction>(form_, "PelcoD")->isChecked());  // F1 chose nothing
    menu->hide();
  }

  void f1InTheImageDelayDialogOpensItsTopic() {
    TImageDelayForm* dialog = form_->ImageDelayForm;
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClick(dialog->CloseButton, Qt::Key_F1);
    QCOMPARE(ViewerOf(form_.get())->CurrentTopic(), 27);
    dialog->hide();
  }
};

QTEST_MAIN(HelpFormContextsTest)
#include "help_form_contexts_test.moc"
