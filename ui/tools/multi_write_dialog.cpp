#include "ui/tools/multi_write_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "comm/comm.h"
#include "link/address_list.h"
#include "link/line_speeds.h"
#include "settings/multi_write_report.h"
#include "settings/settings_caption.h"
#include "settings/settings_file_io.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, bool checked) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(QString::fromLatin1(name));
  check->setChecked(checked);
  return check;
}

// The rate the Baud rate menu has checked.
int MenuBaud(const TForm1& form) {
  for (uint8_t code = 0; code < kLineSpeedCount; ++code) {
    if (form.LinkView().BaudChecked(code)) return BaudOfCode(code);
  }
  return 0;
}

}  // namespace

QString AddressListText(std::vector<uint8_t> addresses) {
  std::sort(addresses.begin(), addresses.end());
  addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
  QStringList parts;
  for (size_t i = 0; i < addresses.size();) {
    size_t end = i;
    while (end + 1 < addresses.size() && addresses[end + 1] == addresses[end] + 1) ++end;
    parts << (end == i ? QString::number(addresses[i])
                       : QStringLiteral("%1-%2").arg(addresses[i]).arg(addresses[end]));
    i = end + 1;
  }
  return parts.join(QStringLiteral(", "));
}

void AddWriteRow(QTableWidget* table, const MultiWriteResult& result) {
  AddRow(table, {QString::number(result.address), QString::fromStdString(result.text),
                 QString::number(result.ms)});
  // A camera left half written stands out from one never touched.
  if (result.stoppedAt != 0) {
    QTableWidgetItem* cell = table->item(table->rowCount() - 1, 1);
    QFont font = cell->font();
    font.setBold(true);
    cell->setFont(font);
    cell->setToolTip(QStringLiteral("Half written: the camera holds part of the new settings"));
  }
}

QString WriteProgressText(const MultiWriteProgress& progress,
                          const std::vector<MultiWriteResult>& done, int64_t msIntoCamera) {
  QString text = QStringLiteral("Camera %1 of %2, address %3")
                     .arg(progress.camera)
                     .arg(progress.count)
                     .arg(progress.address);
  if (!progress.item.empty()) text += QStringLiteral(": ") + QString::fromStdString(progress.item);
  const int msLeft = MultiWriteMsLeft(done, progress.count, msIntoCamera);
  if (msLeft >= 0) text += QStringLiteral(", %1 left").arg(MinutesText(msLeft));
  return text;
}

QString WriteEndText(const QString& how, const std::vector<MultiWriteResult>& rows) {
  const auto ok = std::count_if(rows.begin(), rows.end(), [](const MultiWriteResult& row) {
    return row.outcome == MultiWriteOutcome::Ok;
  });
  return QStringLiteral("%1: %2 of %3 OK").arg(how).arg(ok).arg(rows.size());
}

QString FoundAddressText(const std::vector<LineScanFind>& found) {
  std::vector<uint8_t> addresses;
  for (const LineScanFind& find : found) {
    if (find.remark != kDuplicateAddressRemark) addresses.push_back(find.address);
  }
  return AddressListText(addresses);
}

int MultiWriteMsLeft(const std::vector<MultiWriteResult>& done, size_t count,
                     int64_t msIntoCamera) {
  int64_t spent = 0;
  int64_t timed = 0;
  for (const MultiWriteResult& row : done) {
    if (row.ms <= 0) continue;
    spent += row.ms;
    ++timed;
  }
  if (timed == 0) return -1;
  if (done.size() >= count) return 0;
  const int64_t left = spent * static_cast<int64_t>(count - done.size()) / timed - msIntoCamera;
  return static_cast<int>(std::max<int64_t>(0, left));
}

MultiWriteDialog::MultiWriteDialog(TForm1& form, const std::vector<LineScanFind>& found,
                                   QWidget* parent)
    : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("MultiWriteDialog"));
  setWindowTitle(QStringLiteral("Write to Several Cameras"));
  SetHelpContext(this, kMultiWriteContext);
  // It blocks the main window, not the line monitor.
  setWindowModality(Qt::WindowModal);

  QHBoxLayout* list = BuildAddressRow(found);

  readBack_ = MakeCheck(this, "ReadBackCheck", QStringLiteral("Read back and compare"), true);
  imageDelay_ =
      MakeCheck(this, "ImageDelayCheck", QStringLiteral("Include image delay times"), false);

  const RunControls run = MakeRunControls(this);
  start_ = run.start;
  stop_ = run.stop;
  progress_ = run.progress;
  progressText_ = run.progressText;
  QHBoxLayout* commands = run.row;
  table_ = MakeResultTable(
      this, "ResultTable",
      {QStringLiteral("Address"), QStringLiteral("Result"), QStringLiteral("Time (ms)")});

  const BottomRow bottom = MakeBottomRow(this, "SaveButton", QStringLiteral("Save Report..."));
  save_ = bottom.command;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(list);
  layout->addWidget(readBack_);
  layout->addWidget(imageDelay_);
  layout->addLayout(commands);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addWidget(table_);
  layout->addLayout(bottom.row);
  resize(460, 420);

  write_ = std::make_unique<MultiWrite>(form_.Link(), form_.Panel(), clock_,
                                        static_cast<MultiWriteListener&>(*this));
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] {
    if (write_) write_->Stop();
  });
  connect(save_, &QPushButton::clicked, this, [this] { SaveClick(); });
  ShowRunning(false);
  CentreOnScreen(this);
}

MultiWriteDialog::~MultiWriteDialog() = default;

void MultiWriteDialog::reject() {
  if (write_->Running()) {
    if (!AskQuestion(QStringLiteral("Stop writing and close? The camera being written is left "
                                    "half-written, and those after it are not written."),
                     this)) {
      return;
    }
    // Ends at once (if the run has not ended while the question was open), the rows say so.
    write_->Stop();
  }
  QDialog::reject();
}

void MultiWriteDialog::SetFound(const std::vector<LineScanFind>& found) {
  foundText_ = FoundAddressText(found);
  fromFind_->setEnabled(!foundText_.isEmpty());
}

void MultiWriteDialog::StartClick() {
  const AddressList list = ParseAddressList(addresses_->text().toStdString());
  if (!list.error.empty()) {
    ShowError(QString::fromStdString(list.error), this);
    return;
  }
  rows_.clear();
  table_->setRowCount(0);
  progress_->setRange(0, static_cast<int>(list.addresses.size()));
  progress_->setValue(0);
  MultiWriteOptions options;
  options.readBack = readBack_->isChecked();
  options.includeImageDelay = imageDelay_->isChecked();
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  if (!write_->Start(list.addresses, options)) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  // The report names the run as it began, whatever the window opens later.
  run_.started = std::time(nullptr);
  run_.port = form_.Comm1->DeviceName();
  run_.baud = MenuBaud(form_);
  run_.settingsFile = CaptionFileName(form_.windowTitle().toStdString());
  ShowRunning(true);
}

void MultiWriteDialog::SaveClick() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Report"),
                                                    QStringLiteral("report.csv"),
                                                    QStringLiteral("CSV file (*.csv)"));
  if (path.isEmpty()) return;
  SaveReport(path);
}

bool MultiWriteDialog::SaveReport(const QString& path) {
  const FileOutcome written =
      ReplaceFile(QFile::encodeName(path).toStdString(), MultiWriteReportText(run_, rows_));
  if (!written.ok) ShowSaveError(path, written.reason, this);
  return written.ok;
}

void MultiWriteDialog::ShowRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  save_->setEnabled(!running && !rows_.empty());
  addresses_->setEnabled(!running);
  readBack_->setEnabled(!running);
  imageDelay_->setEnabled(!running);
}

void MultiWriteDialog::WriteProgress(const MultiWriteProgress& progress) {
  if (progress.item.empty()) cameraStartMs_ = clock_.NowMs();
  progress_->setValue(static_cast<int>(progress.camera - 1));
  progressText_->setText(WriteProgressText(progress, rows_, clock_.NowMs() - cameraStartMs_));
}

void MultiWriteDialog::CameraDone(const MultiWriteResult& result) {
  rows_.push_back(result);
  AddWriteRow(table_, result);
}

void MultiWriteDialog::WriteFinished(bool stopped) {
  // A stopped run shows how far it got: the cameras begun, the last one cut.
  const auto begun = std::count_if(rows_.begin(), rows_.end(), [](const MultiWriteResult& row) {
    return row.outcome != MultiWriteOutcome::Stopped || row.stoppedAt != 0 || row.written;
  });
  progress_->setValue(stopped ? static_cast<int>(begun) : progress_->maximum());
  progressText_->setText(
      WriteEndText(stopped ? QStringLiteral("Stopped") : QStringLiteral("Finished"), rows_));
  ShowRunning(false);
}

void MultiWriteDialog::WriteLineLost(const LineLoss& loss) {
  // The bar stays where the run stopped.
  progressText_->setText(WriteEndText(QString::fromStdString(LineLostText(loss)), rows_));
  ShowRunning(false);
}

// The address line and the button that fills it from the last search.
QHBoxLayout* MultiWriteDialog::BuildAddressRow(const std::vector<LineScanFind>& found) {
  addresses_ = new QLineEdit(this);
  addresses_->setObjectName(QStringLiteral("AddressEdit"));
  addresses_->setPlaceholderText(QStringLiteral("2-32, 40"));
  fromFind_ = MakeButton(this, "FoundButton", QStringLiteral("Cameras found"));
  SetFound(found);
  connect(fromFind_, &QPushButton::clicked, this, [this] { addresses_->setText(foundText_); });
  auto* list = new QHBoxLayout;
  list->addWidget(new QLabel(QStringLiteral("Addresses:"), this));
  list->addWidget(addresses_, 1);
  list->addWidget(fromFind_);
  return list;
}
