// The image delay dialog on the real camera link: its lists, its buttons and
// lamp after the link, and the transfers it starts.
#include "ui/dialogs/image_delay_form.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "link/camera_items.h"
#include "tests/ui/pelco_link_harness.h"
#include "ui/widgets/control_shape.h"
#include "ui/widgets/help_key.h"

namespace {

// The settings panel as the main window shows it: the two delay lists are
// the dialog's, everything else stays in memory.
class DialogPanel : public MemoryPanel {
 public:
  int ItemIndex(PanelControl list) const override {
    if (QComboBox* box = Box(list)) return box->currentIndex();
    return MemoryPanel::ItemIndex(list);
  }
  void SetItemIndex(PanelControl list, int index) override {
    if (QComboBox* box = Box(list)) {
      box->setCurrentIndex(index);
      return;
    }
    MemoryPanel::SetItemIndex(list, index);
  }
  TImageDelayForm* form = nullptr;

 private:
  QComboBox* Box(PanelControl list) const {
    if (form == nullptr) return nullptr;
    if (list == PanelControl::ColToWbComboBox) return form->ColToWbComboBox;
    if (list == PanelControl::WbToColComboBox) return form->WbToColComboBox;
    return nullptr;
  }
};

using Harness = LinkHarness<TImageDelayForm, DialogPanel>;

Bytes WriteFrame(uint8_t item, uint8_t value) {
  uint8_t f[kFrameSize];
  BuildWriteFrame(f, 1, item, value, 0);
  return Bytes(f, f + kFrameSize);
}

Bytes ReadFrame(uint8_t item) {
  uint8_t f[kFrameSize];
  BuildReadFrame(f, 1, item, 0);
  return Bytes(f, f + kFrameSize);
}

}  // namespace

class ImageDelayFormTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Harness> h_;
  std::unique_ptr<TImageDelayForm> form_;

  bool Lime() const { return form_->DelayLamp() == LampColour::Lime; }
  bool ButtonsEnabled() const {
    return form_->ReadImageDelay->isEnabled() && form_->WriteImageDelay->isEnabled();
  }
  bool ButtonsDisabled() const {
    return !form_->ReadImageDelay->isEnabled() && !form_->WriteImageDelay->isEnabled();
  }

 private slots:
  void init() {
    h_ = std::make_unique<Harness>();
    form_ = std::make_unique<TImageDelayForm>(h_->link, h_->state);
    h_->window.dialog = form_.get();
    h_->panel.form = form_.get();
  }
  void cleanup() {
    form_.reset();
    h_.reset();
  }

  void theDialogStartsWithItsDesign() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Delay time set"));
    QCOMPARE(form_->ColToWbComboBox->count(), 4);
    QCOMPARE(form_->ColToWbComboBox->itemText(0), QStringLiteral("05 Second"));
    QCOMPARE(form_->WbToColComboBox->itemText(3), QStringLiteral("20 Second"));
    QCOMPARE(form_->ColToWbComboBox->currentIndex(), -1);
    QCOMPARE(form_->WriteImageDelay->text(), QStringLiteral("Write"));
    QCOMPARE(form_->ReadImageDelay->text(), QStringLiteral("Read"));
    QCOMPARE(form_->CloseButton->text(), QStringLiteral("Close"));
    QVERIFY(ButtonsDisabled());
    QVERIFY(form_->CloseButton->isEnabled());
    QVERIFY(!Lime());
    QCOMPARE(form_->ImageDelayShape->BrushColor(), QColor(255, 0, 0));
    QVERIFY(form_->DialogStatus().empty());
    // The client area holds the status bar, whose one panel is 50 wide.
    QCOMPARE(form_->size(), QSize(384, 173));
    QCOMPARE(form_->StatusInfo->width(), 50);
    QCOMPARE(form_->StatusInfo->parentWidget()->geometry().bottom(), 172);
    const QLabel* label = form_->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QStringLiteral("Color turn to white&black"));
    for (QWidget* control : std::initializer_list<QWidget*>{
             form_->CloseButton, form_->ColToWbComboBox, form_->WbToColComboBox,
             form_->ReadImageDelay, form_->WriteImageDelay}) {
      QCOMPARE(control->property(kHelpContextProperty).toInt(), 27);
    }
  }

  void buttonsFollowTheLampAlsoWhileHidden() {
    QVERIFY(!form_->isVisible());
    h_->StartLinked();
    QVERIFY(Lime());
    QCOMPARE(form_->ImageDelayShape->BrushColor(), QColor(0, 255, 0));
    QVERIFY(ButtonsEnabled());
    QVERIFY(h_->window.mainButtonsEnabled);
    for (int tick = 0; tick < 4; ++tick) h_->link.ExistTimerTimer();
    QVERIFY(!Lime());
    QVERIFY(ButtonsDisabled());
    QVERIFY(!h_->window.mainButtonsEnabled);
  }

  void aFreshlyOpenedDialogKeepsTheButtonsOfTheLastUpdate() {
    form_->PrepareToOpen();
    QVERIFY(ButtonsDisabled());
    h_->StartLinked();
    form_->PrepareToOpen();
    QVERIFY(ButtonsEnabled());
  }

  void openingShowsTheCodesOfTheRecord() {
    h_->state.ColToWbCode = 3;
    h_->state.WbToColCode = 3;
    form_->SetDialogStatus("Finsh");
    form_->PrepareToOpen();
    QCOMPARE(form_->ColToWbComboBox->currentText(), QStringLiteral("20 Second"));
    QCOMPARE(form_->WbToColComboBox->currentText(), QStringLiteral("20 Second"));
    QVERIFY(form_->DialogStatus().empty());
  }

  void code0x50ShowsNoSelectionAndIsWrittenBackUnchanged() {
    h_->state.ColToWbCode = kDelayCodeSpecial;
    h_->state.WbToColCode = 2;
    form_->PrepareToOpen();
    QCOMPARE(form_->ColToWbComboBox->currentIndex(), -1);
    QCOMPARE(form_->WbToColComboBox->currentIndex(), 2);
    h_->StartLinked();
    form_->WriteImageDelay->click();
    QCOMPARE(h_->port.written, WriteFrame(kItemColToWb, kDelayCodeSpecial));
    h_->link.Comm1TxEmpty();
    QCOMPARE(form_->DialogStatus(), std::string("Transfer data..."));
    h_->port.Clear();
    h_->Deliver(kReplyWrite, kItemColToWb, kDelayCodeSpecial);
    QCOMPARE(h_->port.written, WriteFrame(kItemWbToCol, 2));
    h_->link.Comm1TxEmpty();
    QCOMPARE(form_->DialogStatus(), std::string("Transfer data...."));
    h_->Deliver(kReplyWrite, kItemWbToCol, 2);
    QCOMPARE(form_->DialogStatus(), std::string("Finsh"));
    QCOMPARE(int(h_->state.ColToWbCode), int(kDelayCodeSpecial));
    QVERIFY(!h_->link.LinkBusy());
  }

  void aPickedEntryIsKeptWithoutWriteAndSendsNothing() {
    h_->StartLinked();
    form_->PrepareToOpen();
    QCOMPARE(form_->ColToWbComboBox->currentText(), QStringLiteral("10 Second"));
    QTest::keyClick(form_->ColToWbComboBox, Qt::Key_Down);  // the user picks "15 Second"
    QCOMPARE(form_->ColToWbComboBox->currentText(), QStringLiteral("15 Second"));
    QCOMPARE(int(h_->state.ColToWbCode), 2);
    QCOMPARE(int(h_->state.WbToColCode), 1);
    form_->CloseButton->click();
    QVERIFY(!form_->isVisible());
    QVERIFY(h_->port.written.empty());
    QVERIFY(!h_->link.LinkBusy());
    form_->ColToWbComboBox->setCurrentIndex(0);  // whatever the hidden list shows meanwhile
    form_->PrepareToOpen();
    QCOMPARE(form_->ColToWbComboBox->currentText(), QStringLiteral("15 Second"));
  }

  void readFillsTheListsAndTheRecord() {
    h_->StartLinked();
    form_->ReadImageDelay->click();
    QCOMPARE(h_->port.written, ReadFrame(kItemColToWb));
    h_->link.Comm1TxEmpty();
    QCOMPARE(form_->DialogStatus(), std::string("Transfer data..."));
    h_->port.Clear();
    h_->Deliver(kReplyRead, kItemColToWb, 3);
    QCOMPARE(form_->ColToWbComboBox->currentText(), QStringLiteral("20 Second"));
    QCOMPARE(int(h_->state.ColToWbCode), 3);
    QCOMPARE(h_->port.written, ReadFrame(kItemWbToCol));
    h_->link.Comm1TxEmpty();
    QCOMPARE(form_->DialogStatus(), std::string("Transfer data...."));
    h_->Deliver(kReplyRead, kItemWbToCol, kDelayCodeSpecial);
    QCOMPARE(form_->WbToColComboBox->currentIndex(), -1);
    QCOMPARE(int(h_->state.WbToColCode), int(kDelayCodeSpecial));
    QCOMPARE(form_->DialogStatus(), std::string("Finsh"));
  }

  void readDuringReadCameraDoesNothing() {
    h_->StartLinked();
    h_->link.ReadButtonClick();
    h_->port.Clear();
    form_->ReadImageDelay->click();
    form_->WriteImageDelay->click();
    QVERIFY(h_->port.written.empty());
    QCOMPARE(int(h_->state.DelayReadBusy), 0);
    QCOMPARE(int(h_->state.DelayWriteBusy), 0);
    QCOMPARE(int(h_->state.ColToWbPending), 0);
    QCOMPARE(int(h_->state.ReadBusy), 1);
  }

  void aSilentCameraEndsTheTransferWithTransferError() {
    h_->StartLinked();
    form_->ReadImageDelay->click();
    for (int tick = 0; tick < 4; ++tick) h_->link.ExistTimerTimer();
    QCOMPARE(form_->DialogStatus(), std::string("Transfer ERROR.."));
    QVERIFY(!Lime());
    QVERIFY(ButtonsDisabled());
    QVERIFY(!h_->link.LinkBusy());
    QCOMPARE(int(h_->state.ColToWbCode), 1);
  }

  void imageTimeOpensTheDialogModally() {
    h_->StartLinked();
    h_->state.WbToColCode = 0;
    form_->SetDialogStatus("Transfer ERROR..");
    // A main window in a corner: the dialog still opens centred on the screen.
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 200, 100);
    mainWindow.show();
    form_->setParent(&mainWindow, form_->windowFlags());
    bool checked = false;
    QPoint offCentre;
    QTimer::singleShot(0, this, [&] {
      offCentre = form_->frameGeometry().center() - form_->screen()->availableGeometry().center();
      QCOMPARE(QApplication::activeModalWidget(), form_.get());
      QCOMPARE(form_->WbToColComboBox->currentText(), QStringLiteral("05 Second"));
      QVERIFY(form_->DialogStatus().empty());
      // The link goes on while the dialog is open.
      form_->ReadImageDelay->click();
      QCOMPARE(h_->port.written, ReadFrame(kItemColToWb));
      checked = true;
      form_->CloseButton->click();
    });
    form_->ImageTimeClick();
    form_->setParent(nullptr, form_->windowFlags());
    QVERIFY(checked);
    QVERIFY2(offCentre.manhattanLength() <= 4,
             qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(!form_->isVisible());
    QCOMPARE(int(h_->state.DelayReadBusy), 1);  // closing does not stop the transfer
  }
};

QTEST_MAIN(ImageDelayFormTest)
#include "image_delay_form_test.moc"
