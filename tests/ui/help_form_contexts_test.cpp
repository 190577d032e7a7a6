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
#include "ui/control_form.h"
#include "ui/control_up_down.h"
#include "ui/help_file.h"
#include "ui/help_key.h"
#include "ui/help_viewer.h"
#include "ui/image_delay_form.h"

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
        {f.Open1, 11},       {f.SaveAs1, 12},       {f.SerialCOM1, 16},    {f.SerialCOM2, 16},
        {f.PelcoP, 21},      {f.PelcoD, 21},        {f.ERNITEC, 21},       {f.GetRS422SETS1, 26},
        {f.ImageTime, 27},   {f.ChangPassword, 28}, {f.BR1200, 29},        {f.BR2400, 29},
        {f.BR4800, 29},      {f.BR9600, 29},        {f.ColSpeed, 36},      {f.WBSpeed, 37},
        {f.OSDOnSpeed, 38},  {f.ProtocolSpeed, 39}, {f.KeyboardSpeed, 40}, {f.UpButton, 41},
        {f.DownButton, 42},  {f.LeftButton, 43},    {f.RightButton, 44},   {f.SelectButton, 45},
        {f.ReadButton, 46},  {f.WriteButton, 47},   {f.DNModeSel, 56},     {f.DNLevelSel, 57},
        {f.DNFilSel, 58},    {f.ShutterSel, 59},    {f.ShutterIris, 59},   {f.GainSel, 60},
        {f.SyncSel, 61},     {f.SyncDC, 61},        {f.GammaSel, 62},      {f.BlcSel, 63},
        {f.WhiteBalSel, 64}, {f.SharpnessSel, 65},  {f.PredtmspSel, 66},   {f.IdEdit, 67},
        {f.IDPosSel, 68},    {f.RedUpDown, 68},     {f.BlueUpDown, 68},    {f.RedNumEdit, 68},
        {f.BlueNumEdit, 68}, {f.HundredAdd, 81},    {f.TenAdd, 81},        {f.UnitAdd, 81},
    };
    for (const auto& [object, number] : expected) {
      QVERIFY(object != nullptr);
      QCOMPARE(Context(object), number);
    }
    // Top menu items with a topic, and those without.
    QCOMPARE(HelpContextOf(f.COMPORT1), 16);
    QCOMPARE(HelpContextOf(f.ADDRESSSET1), 29);
    QCOMPARE(HelpContextOf(f.Protocol1), 21);
    for (QMenu* menu : {f.File1, f.R1, f.Help}) QCOMPARE(HelpContextOf(menu), 0);
    QCOMPARE(Context(f.Help1), 0);
    QCOMPARE(Context(f.about2), 0);
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
    form_->IdEdit->setFocus();
    QTRY_VERIFY(form_->IdEdit->hasFocus());
    QTest::keyClick(form_->IdEdit, Qt::Key_F1);
    THelpViewer* viewer = ViewerOf(form_.get());
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->CurrentTopic(), 67);
    QVERIFY(viewer->HasTopic(67));
    QVERIFY(form_->IdEdit->text().isEmpty());  // F1 types nothing

    form_->UnitAdd->setFocus();
    QTest::keyClick(form_->UnitAdd, Qt::Key_F1);
    QCOMPARE(viewer->CurrentTopic(), 81);
  }

  void f1OnAHighlightedMenuItemOpensItsTopic() {
    QMenu* menu = form_->Protocol1;
    menu->popup(form_->mapToGlobal(QPoint(0, 0)));
    menu->setActiveAction(form_->PelcoD);
    QTest::keyClick(menu, Qt::Key_F1);
    QCOMPARE(ViewerOf(form_.get())->CurrentTopic(), 21);
    QVERIFY(!form_->PelcoD->isChecked());  // F1 chose nothing
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
