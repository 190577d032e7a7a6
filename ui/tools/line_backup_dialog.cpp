#include "ui/tools/line_backup_dialog.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <ctime>

#include "link/address_list.h"
#include "link/camera_link_state.h"
#include "link/line_speeds.h"
#include "link/ptz_protocols.h"
#include "settings/line_book.h"
#include "ui/main_window/control_form.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/multi_write_dialog.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

// The checked PTZ protocol by its command-line name ("pelco-d"), so an index
// the window and zelta-cli both update names it one way.
std::string CheckedProtocolName(const TForm1& form) {
  for (size_t code = 0; code < PtzProtocolCount(); ++code) {
    const PtzProtocolRow& row = PtzProtocolOf(PtzProtocolAt(code));
    const auto* item = form.findChild<QAction*>(QString::fromLatin1(row.menuItem));
    if (item && item->isChecked()) return row.commandName;
  }
  return {};
}

}  // namespace

LineBackupDialog::LineBackupDialog(TForm1& form, const std::vector<LineScanFind>& found,
                                   QWidget* parent)
    : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("LineBackupDialog"));
  setWindowTitle(QStringLiteral("Back Up Line"));
  SetHelpContext(this, kLineBackupContext);
  // It blocks the main window, not the line monitor.
  setWindowModality(Qt::WindowModal);

  const AddressRow list = MakeAddressRow(this, "FoundButton", QStringLiteral("Cameras found"));
  addresses_ = list.edit;
  fromFind_ = list.fill;
  SetFound(found);
  connect(fromFind_, &QPushButton::clicked, this, [this] { addresses_->setText(foundText_); });
  const FolderRow folder = MakeFolderRow(this);
  folder_ = folder.edit;
  browse_ = folder.browse;

  const RunControls run = MakeRunControls(this);
  start_ = run.start;
  stop_ = run.stop;
  progress_ = run.progress;
  progressText_ = run.progressText;
  table_ = MakeResultTable(this, "ResultTable",
                           {QStringLiteral("Address"), QStringLiteral("ID text"),
                            QStringLiteral("Result"), QStringLiteral("Time (ms)")});
  auto* close = MakeButton(this, "CloseButton", QStringLiteral("Close"));
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(list.row);
  layout->addLayout(folder.row);
  layout->addLayout(run.row);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addWidget(table_);
  layout->addLayout(bottom);
  resize(520, 420);

  backup_ =
      std::make_unique<LineBackup>(form_.Link(), clock_, static_cast<LineBackupListener&>(*this));
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { backup_->Stop(); });
  connect(close, &QPushButton::clicked, this, [this] { reject(); });
  ShowRunning(false);
  CentreOnScreen(this);
}

LineBackupDialog::~LineBackupDialog() = default;

void LineBackupDialog::reject() {
  if (backup_->Running()) {
    if (!AskQuestion(QStringLiteral("Stop the backup and close? The cameras not yet read are "
                                    "not backed up."),
                     this)) {
      return;
    }
    backup_->Stop();
  }
  QDialog::reject();
}

void LineBackupDialog::SetFound(const std::vector<LineScanFind>& found) {
  foundText_ = FoundAddressText(found);
  fromFind_->setEnabled(!foundText_.isEmpty());
}

void LineBackupDialog::StartClick() {
  const AddressList list = ParseAddressList(addresses_->text().toStdString());
  if (!list.error.empty()) {
    ShowError(QString::fromStdString(list.error), this);
    return;
  }
  const QString folder = folder_->text().trimmed();
  if (folder.isEmpty()) {
    ShowError(QStringLiteral("Choose the folder to back up into."), this);
    return;
  }
  // Nothing is made on disk for a run that cannot start.
  if (form_.Link().LinkBusy()) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  // A folder that cannot hold the book is refused before any camera is read for it.
  auto book = std::make_unique<LineBook>(QFile::encodeName(folder).toStdString());
  const FileOutcome usable = book->Load(true);
  if (!usable.ok) {
    ShowFolderError(folder, usable.reason, this);
    return;
  }
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  table_->setRowCount(0);
  saved_ = rows_ = 0;
  progress_->setRange(0, static_cast<int>(list.addresses.size()));
  progress_->setValue(0);
  run_ = {form_.Link().LineBaud(), CheckedProtocolName(form_), std::time(nullptr)};
  book_ = std::move(book);
  if (!backup_->Start(list.addresses)) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  ShowRunning(true);
}

void LineBackupDialog::ShowRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  addresses_->setEnabled(!running);
  fromFind_->setEnabled(!running && !foundText_.isEmpty());
  folder_->setEnabled(!running);
  browse_->setEnabled(!running);
}

void LineBackupDialog::BackupProgress(const LineBackupProgress& progress) {
  progress_->setValue(static_cast<int>(progress.camera - 1));
  QString text = QStringLiteral("Camera %1 of %2, address %3")
                     .arg(progress.camera)
                     .arg(progress.count)
                     .arg(progress.address);
  if (!progress.item.empty()) text += QStringLiteral(": ") + QString::fromStdString(progress.item);
  progressText_->setText(text);
}

void LineBackupDialog::CameraRead(const LineBackupResult& result) {
  ++rows_;
  QString id;
  QString text;
  FileOutcome kept;
  switch (result.outcome) {
    case LineBackupOutcome::Read:
      id = QString::fromStdString(result.panel->IdEditText());
      // Each camera's own time, so the index says when each was read.
      run_.when = std::time(nullptr);
      kept = book_->Save(result.address, *result.panel, LinkState, run_);
      text = QStringLiteral("Saved ") + QString::fromStdString(LineBookFileName(result.address));
      if (kept.ok) ++saved_;
      break;
    case LineBackupOutcome::NoAnswer:
      run_.when = std::time(nullptr);
      kept = book_->NoAnswer(result.address, run_);
      text = QString::fromLatin1(kLineBookNoAnswer);
      break;
    case LineBackupOutcome::Stopped:
      text = QStringLiteral("Stopped");
      break;
    case LineBackupOutcome::LineLost:
      text = QString::fromLatin1(kMultiWriteLineLost);
      break;
  }
  if (!kept.ok) text = QStringLiteral("Not saved: ") + QString::fromLocal8Bit(kept.reason.c_str());
  AddRow(table_, {QString::number(result.address), id, text, QString::number(result.ms)});
}

void LineBackupDialog::ShowEnd(const QString& how) {
  progressText_->setText(QStringLiteral("%1: %2 of %3 saved").arg(how).arg(saved_).arg(rows_));
  ShowRunning(false);
}

void LineBackupDialog::BackupFinished(bool stopped) {
  if (!stopped) progress_->setValue(progress_->maximum());
  ShowEnd(stopped ? QStringLiteral("Stopped") : QStringLiteral("Finished"));
}

void LineBackupDialog::BackupLineLost(const LineLoss& loss) {
  ShowEnd(QString::fromStdString(LineLostText(loss)));
}
