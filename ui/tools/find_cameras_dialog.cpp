#include "ui/tools/find_cameras_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "link/address_list.h"
#include "link/qam_protocol.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/control_timers.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

constexpr int kProgressSteps = 1000;

QSpinBox* MakeAddressBox(QWidget* parent, const char* name, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(kFirstCameraAddress, kLastCameraAddress);
  box->setValue(value);
  return box;
}

QString RateText(uint8_t speedCode) {
  return QString::number(kLineSpeeds[speedCode].bitsPerSecond);
}

}  // namespace

FindCamerasDialog::FindCamerasDialog(TForm1& form, std::vector<LineScanFind>& found,
                                     QWidget* parent)
    : QDialog(parent), form_(form), found_(found) {
  setObjectName(QStringLiteral("FindCamerasDialog"));
  setWindowTitle(QStringLiteral("Find Cameras"));
  SetHelpContext(this, kFindCamerasContext);
  // It blocks the main window, not the line monitor.
  setWindowModality(Qt::WindowModal);

  QHBoxLayout* rates = BuildRates();
  QHBoxLayout* range = BuildRange();

  const RunControls run = MakeRunControls(this);
  start_ = run.start;
  stop_ = run.stop;
  progress_ = run.progress;
  progressText_ = run.progressText;
  progress_->setRange(0, kProgressSteps);
  QHBoxLayout* commands = run.row;

  table_ = MakeResultTable(
      this, "FoundTable",
      {QStringLiteral("Address"), QStringLiteral("Baud rate"), QStringLiteral("Remark")});

  const BottomRow bottom = MakeBottomRow(this, "UseButton", QStringLiteral("Use"));
  use_ = bottom.command;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rates);
  layout->addLayout(range);
  layout->addLayout(commands);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addWidget(table_);
  layout->addLayout(bottom.row);
  resize(460, 420);

  BuildScan();

  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { StopClick(); });
  connect(use_, &QPushButton::clicked, this, [this] { UseClick(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateUse(); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { UseClick(); });
  ShowRunning(false);
  CentreOnScreen(this);
}

FindCamerasDialog::~FindCamerasDialog() = default;

void FindCamerasDialog::reject() {
  // The scan's end gives the line back at once, before the window goes; the
  // window keeps its choices and finds for the next time.
  if (scan_ && scan_->Running()) {
    scan_ = MakeScan();
    ScanFinished(true);
  }
  QDialog::reject();
}

void FindCamerasDialog::StartClick() {
  LineScanPlan plan;
  plan.speedCodes.clear();
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    if (rates_[code]->isChecked()) plan.speedCodes.push_back(code);
  }
  if (plan.speedCodes.empty()) {
    ShowError(QStringLiteral("Choose at least one baud rate."), this);
    return;
  }
  plan.firstAddress = static_cast<uint8_t>(firstAddress_->value());
  plan.lastAddress = static_cast<uint8_t>(lastAddress_->value());
  if (plan.firstAddress > plan.lastAddress) {
    ShowError(QStringLiteral("The first address must not be above the last."), this);
    return;
  }
  // A closed port would only be polled in silence.
  if (!form_.LinePort().Enabled()) {
    ShowError(form_.PortClosedText(), this);
    return;
  }
  found_.clear();
  table_->setRowCount(0);
  progress_->setValue(0);
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  if (!scan_ || !scan_->Start(plan)) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  ShowRunning(true);
}

void FindCamerasDialog::StopClick() {
  if (scan_) scan_->Stop();
  stop_->setEnabled(false);
  progressText_->setText(QStringLiteral("Stopping..."));
}

void FindCamerasDialog::UseClick() {
  const int row = table_->currentRow();
  if (row < 0 || row >= static_cast<int>(found_.size()) || (scan_ && scan_->Running())) return;
  const LineScanFind& camera = found_[static_cast<size_t>(row)];
  if (!form_.UseCamera(camera.address, camera.speedCode)) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  accept();
}

void FindCamerasDialog::ShowRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  for (QCheckBox* rate : rates_) rate->setEnabled(!running);
  firstAddress_->setEnabled(!running);
  lastAddress_->setEnabled(!running);
  UpdateUse();
}

void FindCamerasDialog::UpdateUse() {
  use_->setEnabled(!(scan_ && scan_->Running()) && table_->currentRow() >= 0);
}

void FindCamerasDialog::ScanProgress(const LineScanProgress& progress) {
  progress_->setValue(static_cast<int>(progress.fractionDone * kProgressSteps));
  progressText_->setText(QStringLiteral("Address %1 at %2 baud, %3 left")
                             .arg(progress.address)
                             .arg(RateText(progress.speedCode))
                             .arg(MinutesText(progress.msLeft)));
}

void FindCamerasDialog::ScanFound(const LineScanFind& find) {
  found_.push_back(find);
  AddRow(table_, {QString::number(find.address), RateText(find.speedCode),
                  QString::fromStdString(find.remark)});
}

void FindCamerasDialog::ScanFinished(bool stopped) {
  if (!stopped) progress_->setValue(kProgressSteps);
  progressText_->setText(QStringLiteral("%1: %2 found")
                             .arg(stopped ? QStringLiteral("Stopped") : QStringLiteral("Finished"))
                             .arg(found_.size()));
  ShowRunning(false);
}

void FindCamerasDialog::ScanLineLost(const LineLoss& loss) {
  // The bar stays where the scan stopped.
  progressText_->setText(QStringLiteral("%1: %2 found")
                             .arg(QString::fromStdString(LineLostText(loss)))
                             .arg(found_.size()));
  ShowRunning(false);
}

QHBoxLayout* FindCamerasDialog::BuildRates() {
  auto* rates = new QHBoxLayout;
  rates->addWidget(new QLabel(QStringLiteral("Baud rates:"), this));
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    rates_[code] = new QCheckBox(RateText(code), this);
    rates_[code]->setObjectName(QStringLiteral("Rate") + RateText(code));
    rates_[code]->setChecked(true);
    rates->addWidget(rates_[code]);
  }
  rates->addStretch();
  return rates;
}

QHBoxLayout* FindCamerasDialog::BuildRange() {
  firstAddress_ = MakeAddressBox(this, "FirstAddress", kFirstCameraAddress);
  lastAddress_ = MakeAddressBox(this, "LastAddress", kLastCameraAddress);
  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel(QStringLiteral("Addresses from"), this));
  range->addWidget(firstAddress_);
  range->addWidget(new QLabel(QStringLiteral("to"), this));
  range->addWidget(lastAddress_);
  range->addStretch();
  return range;
}

// The scan has a reply timer of its own; the link's timers stay as they are.
void FindCamerasDialog::BuildScan() {
  replyTimer_ = new QTimer(this);
  replyTimer_->setObjectName(QStringLiteral("ReplyTimer"));
  linkTimer_ = std::make_unique<TLinkTimer>(*replyTimer_);
  scan_ = MakeScan();
  connect(replyTimer_, &QTimer::timeout, this, [this] {
    if (scan_) scan_->ReplyTimerTimer();
  });
}

std::unique_ptr<LineScan> FindCamerasDialog::MakeScan() {
  return std::make_unique<LineScan>(form_.Link(), form_.LinePort(), *linkTimer_,
                                    static_cast<LineScanListener&>(*this));
}
