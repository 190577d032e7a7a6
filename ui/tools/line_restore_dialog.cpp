#include "ui/tools/line_restore_dialog.h"

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
#include <ctime>

#include "comm/comm.h"
#include "link/address_list.h"
#include "link/camera_link_state.h"
#include "settings/settings_file_io.h"
#include "settings/settings_messages.h"
#include "settings/settings_reader.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/multi_write_dialog.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

// The row of a camera the run passes over without writing it.
MultiWriteResult PassedOver(uint8_t address, const std::string& why) {
  MultiWriteResult row;
  row.address = address;
  row.text = why;
  return row;
}

// A camera's settings file into `panel`, checked whole as Open checks it;
// what is wrong with it, or empty. Its delay times are not written.
std::string LoadCameraFile(const std::string& path, CameraPanel& panel) {
  std::vector<std::string> lines;
  const FileOutcome read = ReadFileLines(path, kSettingsFileLines, lines);
  if (!read.ok) return read.badFormat ? kSettingsFormatMessage : read.reason;
  SettingsValues values;
  SettingsFileError error;
  if (!CheckSettingsLines(lines, values, error)) return SettingsCheckMessage(error);
  CameraLinkState delays{};
  ApplySettings(values, panel, delays);
  return {};
}

}  // namespace

LineRestoreDialog::LineRestoreDialog(TForm1& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("LineRestoreDialog"));
  setWindowTitle(QStringLiteral("Restore Line"));
  SetHelpContext(this, kLineRestoreContext);
  // It blocks the main window, not the line monitor.
  setWindowModality(Qt::WindowModal);

  const FolderRow folder = MakeFolderRow(this);
  folder_ = folder.edit;
  browse_ = folder.browse;
  const AddressRow list =
      MakeAddressRow(this, "BackupButton", QStringLiteral("Cameras in the backup"));
  addresses_ = list.edit;
  fromBackup_ = list.fill;
  connect(fromBackup_, &QPushButton::clicked, this, [this] { FillFromBackup(); });
  readBack_ = new QCheckBox(QStringLiteral("Read back and compare"), this);
  readBack_->setObjectName(QStringLiteral("ReadBackCheck"));
  readBack_->setChecked(true);

  const RunControls run = MakeRunControls(this);
  start_ = run.start;
  stop_ = run.stop;
  progress_ = run.progress;
  progressText_ = run.progressText;
  table_ = MakeResultTable(
      this, "ResultTable",
      {QStringLiteral("Address"), QStringLiteral("Result"), QStringLiteral("Time (ms)")});
  save_ = MakeButton(this, "SaveButton", QStringLiteral("Save Report..."));
  auto* close = MakeButton(this, "CloseButton", QStringLiteral("Close"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(save_);
  bottom->addStretch();
  bottom->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(folder.row);
  layout->addLayout(list.row);
  layout->addWidget(readBack_);
  layout->addLayout(run.row);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addWidget(table_);
  layout->addLayout(bottom);
  resize(460, 420);

  // Each camera is a write of one address from its own file's settings.
  write_ = std::make_unique<MultiWrite>(form_.Link(), source_, clock_,
                                        static_cast<MultiWriteListener&>(*this));
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { StopClick(); });
  connect(save_, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Report"),
                                                      QStringLiteral("report.csv"),
                                                      QStringLiteral("CSV file (*.csv)"));
    if (!path.isEmpty()) SaveReport(path);
  });
  connect(close, &QPushButton::clicked, this, [this] { reject(); });
  ShowRunning(false);
  CentreOnScreen(this);
}

LineRestoreDialog::~LineRestoreDialog() = default;

void LineRestoreDialog::reject() {
  if (running_) {
    if (!AskQuestion(QStringLiteral("Stop restoring and close? The camera being written is left "
                                    "half-written, and those after it are not written."),
                     this)) {
      return;
    }
    StopClick();
  }
  QDialog::reject();
}

bool LineRestoreDialog::SaveReport(const QString& path) {
  const FileOutcome written =
      ReplaceFile(QFile::encodeName(path).toStdString(), MultiWriteReportText(run_, rows_));
  if (!written.ok) ShowSaveError(path, written.reason, this);
  return written.ok;
}

std::unique_ptr<LineBook> LineRestoreDialog::OpenBook() {
  const QString folder = folder_->text().trimmed();
  if (folder.isEmpty()) {
    ShowError(QStringLiteral("Choose the folder of the backup."), this);
    return nullptr;
  }
  auto book = std::make_unique<LineBook>(QFile::encodeName(folder).toStdString());
  const FileOutcome loaded = book->Load(false);
  if (!loaded.ok) {
    ShowError(QStringLiteral("Can not use the folder \"%1\".\n%2")
                  .arg(folder, QString::fromLocal8Bit(loaded.reason.c_str())),
              this);
    return nullptr;
  }
  return book;
}

void LineRestoreDialog::FillFromBackup() {
  const std::unique_ptr<LineBook> book = OpenBook();
  if (!book) return;
  std::vector<uint8_t> saved;
  for (const LineBookRow& row : book->Rows()) {
    if (!row.file.empty()) saved.push_back(row.address);
  }
  addresses_->setText(AddressListText(saved));
}

void LineRestoreDialog::StartClick() {
  const AddressList list = ParseAddressList(addresses_->text().toStdString());
  if (!list.error.empty()) {
    ShowError(QString::fromStdString(list.error), this);
    return;
  }
  std::unique_ptr<LineBook> book = OpenBook();
  if (!book) return;
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  if (form_.Link().LinkBusy()) {
    ShowError(QStringLiteral("The line is busy. Try again when the transfer has finished."), this);
    return;
  }
  book_ = std::move(book);
  list_ = list.addresses;
  next_ = 0;
  options_ = {};
  options_.readBack = readBack_->isChecked();
  rows_.clear();
  table_->setRowCount(0);
  progress_->setRange(0, static_cast<int>(list_.size()));
  progress_->setValue(0);
  run_.started = std::time(nullptr);
  run_.port = form_.Comm1->DeviceName();
  run_.baud = form_.Link().LineBaud();
  run_.settingsFile = book_->PathOf("");
  running_ = true;
  ShowRunning(true);
  NextCamera();
}

void LineRestoreDialog::NextCamera() {
  for (; next_ < list_.size(); ++next_) {
    const uint8_t address = list_[next_];
    const LineBookRow* saved = book_->Find(address);
    if (!saved || saved->file.empty()) {
      Record(PassedOver(address, "Not in the backup"));
      continue;
    }
    const std::string wrong = LoadCameraFile(book_->PathOf(saved->file), source_);
    if (!wrong.empty()) {
      Record(PassedOver(address, saved->file + ": " + wrong));
      continue;
    }
    cameraStartMs_ = clock_.NowMs();
    if (write_->Start({address}, options_)) return;
    // The line went, or another transfer took it, between two cameras.
    for (; next_ < list_.size(); ++next_) Record(PassedOver(list_[next_], kMultiWriteStopped));
    EndRun(QStringLiteral("Stopped"));
    return;
  }
  progress_->setValue(progress_->maximum());
  EndRun(QStringLiteral("Finished"));
}

void LineRestoreDialog::StopClick() {
  if (write_->Running()) write_->Stop();
}

void LineRestoreDialog::Record(const MultiWriteResult& row) {
  rows_.push_back(row);
  AddWriteRow(table_, row);
  progress_->setValue(static_cast<int>(rows_.size()));
}

void LineRestoreDialog::EndRun(const QString& how) {
  running_ = false;
  progressText_->setText(WriteEndText(how, rows_));
  ShowRunning(false);
}

void LineRestoreDialog::ShowRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  save_->setEnabled(!running && !rows_.empty());
  addresses_->setEnabled(!running);
  fromBackup_->setEnabled(!running);
  folder_->setEnabled(!running);
  browse_->setEnabled(!running);
  readBack_->setEnabled(!running);
}

void LineRestoreDialog::WriteProgress(const MultiWriteProgress& progress) {
  QString text = QStringLiteral("Camera %1 of %2, address %3")
                     .arg(next_ + 1)
                     .arg(list_.size())
                     .arg(progress.address);
  if (!progress.item.empty()) text += QStringLiteral(": ") + QString::fromStdString(progress.item);
  const int msLeft = MultiWriteMsLeft(rows_, list_.size(), clock_.NowMs() - cameraStartMs_);
  if (msLeft >= 0) text += QStringLiteral(", %1 left").arg(MinutesText(msLeft));
  progressText_->setText(text);
}

void LineRestoreDialog::CameraDone(const MultiWriteResult& result) {
  Record(result);
  ++next_;
}

void LineRestoreDialog::WriteFinished(bool stopped) {
  if (!stopped) {
    NextCamera();
    return;
  }
  for (; next_ < list_.size(); ++next_) Record(PassedOver(list_[next_], kMultiWriteStopped));
  EndRun(QStringLiteral("Stopped"));
}

void LineRestoreDialog::WriteLineLost(const LineLoss& loss) {
  for (; next_ < list_.size(); ++next_) Record(PassedOver(list_[next_], kMultiWriteStopped));
  EndRun(QString::fromStdString(LineLostText(loss)));
}
