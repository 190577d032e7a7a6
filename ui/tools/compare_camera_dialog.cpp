#include "ui/tools/compare_camera_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "link/camera_items.h"
#include "link/item_comparison.h"
#include "link/qam_protocol.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/settings_file_commands.h"
#include "ui/main_window/settings_file_dialogs.h"
#include "ui/tools/installer_tools.h"
#include "ui/tools/line_tap.h"
#include "ui/tools/tool_widgets.h"
#include "ui/widgets/help_key.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/window_place.h"

namespace {

// Requests of one Read Camera: an item each, the ID text sixteen.
constexpr int kReadRequests = static_cast<int>(kPanelItemCount + kIdLength - 1);

// "3 (1/250)": a list's value with its entry, as the panel shows it.
QString ValueText(uint8_t code, const std::string& value) {
  const QString text = QString::fromStdString(value);
  const CameraItem* item = FindCameraItem(code);
  if (!item || code == kItemId) return text;
  const std::vector<std::string>& entries = ListEntries(item->control);
  bool number = false;
  const int index = text.toInt(&number);
  if (!number || index < 0 || index >= static_cast<int>(entries.size())) return text;
  return QStringLiteral("%1 (%2)").arg(text, QString::fromStdString(entries[index]).trimmed());
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& caption) {
  auto* radio = new QRadioButton(caption, parent);
  radio->setObjectName(QString::fromLatin1(name));
  return radio;
}

}  // namespace

CompareCameraDialog::CompareCameraDialog(TForm1& form, QWidget* parent)
    : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("CompareCameraDialog"));
  setWindowTitle(QStringLiteral("Compare with Camera"));
  SetHelpContext(this, kCompareCameraContext);
  // It blocks the main window, not the line monitor.
  setWindowModality(Qt::WindowModal);

  fromPanel_ = MakeRadio(this, "PanelSource", QStringLiteral("The settings panel"));
  fromFile_ = MakeRadio(this, "FileSource", QStringLiteral("File:"));
  fromPanel_->setChecked(true);
  auto* sources = new QButtonGroup(this);
  sources->addButton(fromPanel_);
  sources->addButton(fromFile_);
  file_ = new QLineEdit(this);
  file_->setObjectName(QStringLiteral("FileEdit"));
  browse_ = MakeButton(this, "BrowseButton", QStringLiteral("Browse..."));
  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString path = ChooseSettingsFileToOpen(this, QString());
    if (path.isEmpty()) return;
    file_->setText(path);
    fromFile_->setChecked(true);
  });
  auto* source = new QHBoxLayout;
  source->addWidget(new QLabel(QStringLiteral("Compare"), this));
  source->addWidget(fromPanel_);
  source->addWidget(fromFile_);
  source->addWidget(file_, 1);
  source->addWidget(browse_);

  const RunControls run = MakeRunControls(this);
  start_ = run.start;
  start_->setText(QStringLiteral("Read Camera"));
  stop_ = run.stop;
  progress_ = run.progress;
  progress_->setRange(0, kReadRequests);
  progressText_ = run.progressText;
  table_ =
      MakeResultTable(this, "CompareTable",
                      {QStringLiteral("Item"), QStringLiteral("Panel"), QStringLiteral("Camera")});

  take_ = MakeButton(this, "TakeButton", QStringLiteral("Take from camera"));
  auto* close = MakeButton(this, "CloseButton", QStringLiteral("Close"));
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(take_);
  bottom->addStretch();
  bottom->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(source);
  layout->addLayout(run.row);
  layout->addWidget(progress_);
  layout->addWidget(progressText_);
  layout->addWidget(table_);
  layout->addLayout(bottom);
  resize(480, 480);

  read_ =
      std::make_unique<LineBackup>(form_.Link(), clock_, static_cast<LineBackupListener&>(*this));
  connect(start_, &QPushButton::clicked, this, [this] { StartClick(); });
  connect(stop_, &QPushButton::clicked, this, [this] { read_->Stop(); });
  connect(take_, &QPushButton::clicked, this, [this] { TakeClick(); });
  connect(close, &QPushButton::clicked, this, [this] { reject(); });
  ShowRunning(false);
  CentreOnScreen(this);
}

CompareCameraDialog::~CompareCameraDialog() = default;

void CompareCameraDialog::reject() {
  // A read changes nothing but this window: it just ends.
  read_->Stop();
  QDialog::reject();
}

void CompareCameraDialog::StartClick() {
  MemoryPanel wanted;
  if (fromFile_->isChecked()) {
    if (file_->text().isEmpty()) {
      ShowError(QStringLiteral("Choose the settings file to compare with."), this);
      return;
    }
    // The file's delay times are no panel item: they go nowhere.
    CameraLinkState delays{};
    if (!LoadSettingsFile(this, file_->text(), wanted, delays)) return;
  } else {
    CopyPanel(form_.Panel(), wanted);
  }
  if (form_.LinePort().Gone()) {
    ShowError(QString::fromLatin1(kPortGoneText), this);
    return;
  }
  address_ = form_.Link().Address();
  if (!read_->Start({address_})) {
    ShowError(QString::fromLatin1(kLineBusyText), this);
    return;
  }
  wanted_ = wanted;
  haveCamera_ = false;
  table_->setRowCount(0);
  table_->horizontalHeaderItem(1)->setText(fromFile_->isChecked() ? QStringLiteral("File")
                                                                  : QStringLiteral("Panel"));
  progress_->setValue(0);
  ShowRunning(true);
}

void CompareCameraDialog::TakeClick() {
  // Replacing the panel follows the rule Open follows: not during a transfer.
  if (!haveCamera_ || form_.Link().LinkBusy()) return;
  CopyPanel(camera_, form_.Panel());
  if (fromPanel_->isChecked()) {
    CopyPanel(camera_, wanted_);
    ShowComparison();
  }
}

void CompareCameraDialog::ShowRunning(bool running) {
  start_->setEnabled(!running);
  stop_->setEnabled(running);
  take_->setEnabled(!running && haveCamera_);
  fromPanel_->setEnabled(!running);
  fromFile_->setEnabled(!running);
  file_->setEnabled(!running);
  browse_->setEnabled(!running);
}

void CompareCameraDialog::ShowComparison() {
  table_->setRowCount(0);
  QStringList differing;
  for (const ItemComparison& row : CompareItems(wanted_, camera_)) {
    AddRow(table_, {QString::fromStdString(row.name), ValueText(row.item, row.wanted),
                    ValueText(row.item, row.camera)});
    const int at = table_->rowCount() - 1;
    if (row.fixedState) {
      table_->item(at, 2)->setToolTip(
          QStringLiteral("Held by the camera itself: not counted as a difference"));
    }
    if (!row.differs) continue;
    differing << QString::fromStdString(row.name);
    for (int column = 0; column < table_->columnCount(); ++column) {
      QTableWidgetItem* cell = table_->item(at, column);
      QFont font = cell->font();
      font.setBold(true);
      cell->setFont(font);
      cell->setBackground(QColor(255, 220, 220));
      cell->setToolTip(QStringLiteral("Differs"));
    }
  }
  table_->scrollToTop();
  progressText_->setText(
      differing.isEmpty()
          ? QStringLiteral("Camera %1 holds the same settings").arg(address_)
          : QStringLiteral("Camera %1 differs: %2").arg(address_).arg(differing.join(", ")));
}

void CompareCameraDialog::BackupProgress(const LineBackupProgress& progress) {
  if (progress.item.empty()) {
    progress_->setValue(0);
  } else {
    progress_->setValue(std::min(progress_->value() + 1, kReadRequests));
  }
  progressText_->setText(
      QStringLiteral("Reading camera %1%2")
          .arg(progress.address)
          .arg(progress.item.empty()
                   ? QString()
                   : QStringLiteral(": ") + QString::fromStdString(progress.item)));
}

void CompareCameraDialog::CameraRead(const LineBackupResult& result) {
  if (result.outcome != LineBackupOutcome::Read || result.panel == nullptr) return;
  CopyPanel(*result.panel, camera_);
  haveCamera_ = true;
}

void CompareCameraDialog::BackupFinished(bool stopped) {
  if (haveCamera_) {
    progress_->setValue(kReadRequests);
    ShowComparison();
  } else {
    progressText_->setText(stopped ? QStringLiteral("Stopped")
                                   : QStringLiteral("Camera %1: no answer").arg(address_));
  }
  ShowRunning(false);
}

void CompareCameraDialog::BackupLineLost(const LineLoss& loss) {
  progressText_->setText(QString::fromStdString(LineLostText(loss)));
  ShowRunning(false);
}
