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
#include "ui/main_window/control_form.h"
#include "ui/main_window/settings_file_commands.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/multi_write_dialog.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

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

  // Each camera gets its own file's settings, never the user's panel.
  write_ = std::make_unique<MultiWrite>(form_.Link(), form_.Panel(), clock_,
                                        static_cast<MultiWriteListener&>(*this));
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { write_->Stop(); });
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
  if (write_->Running()) {
    if (!AskQuestion(QStringLiteral("Stop restoring and close? The camera being written is left "
                                    "half-written, and those after it are not written."),
                     this)) {
      return;
    }
    write_->Stop();
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
    ShowFolderError(folder, loaded.reason, this);
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
  const std::unique_ptr<LineBook> book = OpenBook();
  if (!book) return;
  // Every camera's file is read and checked before anything is sent.
  std::vector<MemoryPanel> panels(list.addresses.size());
  std::vector<std::string> files;
  for (size_t i = 0; i < list.addresses.size(); ++i) {
    const LineBookRow* row = book->Find(list.addresses[i]);
    if (!row || row->file.empty()) {
      ShowError(QStringLiteral("The backup holds no file of camera %1.").arg(list.addresses[i]),
                this);
      return;
    }
    files.push_back(book->PathOf(row->file));
    // The delay times of the files are not written.
    CameraLinkState delays{};
    if (!LoadSettingsFile(this, QFile::decodeName(files.back().c_str()), panels[i], delays)) {
      return;
    }
  }
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  MultiWriteOptions options;
  options.readBack = readBack_->isChecked();
  if (!write_->Start(list.addresses, panels, options)) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  rows_.clear();
  table_->setRowCount(0);
  progress_->setRange(0, static_cast<int>(list.addresses.size()));
  progress_->setValue(0);
  run_ = {};
  run_.started = std::time(nullptr);
  run_.port = form_.Comm1->DeviceName();
  run_.baud = form_.Link().LineBaud();
  run_.rowFiles = files;
  ShowRunning(true);
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
  if (progress.item.empty()) cameraStartMs_ = clock_.NowMs();
  progress_->setValue(static_cast<int>(progress.camera - 1));
  progressText_->setText(WriteProgressText(progress, rows_, clock_.NowMs() - cameraStartMs_));
}

void LineRestoreDialog::CameraDone(const MultiWriteResult& result) {
  rows_.push_back(result);
  AddWriteRow(table_, result);
}

void LineRestoreDialog::WriteFinished(bool stopped) {
  progress_->setValue(stopped ? progress_->value() : progress_->maximum());
  progressText_->setText(
      WriteEndText(stopped ? QStringLiteral("Stopped") : QStringLiteral("Finished"), rows_));
  ShowRunning(false);
}

void LineRestoreDialog::WriteLineLost(const LineLoss& loss) {
  progressText_->setText(WriteEndText(QString::fromStdString(LineLostText(loss)), rows_));
  ShowRunning(false);
}
