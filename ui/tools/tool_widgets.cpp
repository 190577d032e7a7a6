#include "ui/tools/tool_widgets.h"

#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "ui/widgets/message_box.h"

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

BottomRow MakeBottomRow(QDialog* dialog, const char* name, const QString& caption) {
  auto* command = MakeButton(dialog, name, caption);
  auto* close = MakeButton(dialog, "CloseButton", QStringLiteral("Close"));
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(command);
  row->addStretch();
  row->addWidget(close);
  return {command, row};
}

RunControls MakeRunControls(QWidget* parent) {
  RunControls run{};
  run.start = MakeButton(parent, "StartButton", QStringLiteral("Start"));
  run.stop = MakeButton(parent, "StopButton", QStringLiteral("Stop"));
  run.row = new QHBoxLayout;
  run.row->addWidget(run.start);
  run.row->addWidget(run.stop);
  run.row->addStretch();
  run.progress = new QProgressBar(parent);
  run.progress->setObjectName(QStringLiteral("Progress"));
  run.progress->setValue(0);
  run.progressText = new QLabel(parent);
  run.progressText->setObjectName(QStringLiteral("ProgressLabel"));
  return run;
}

AddressRow MakeAddressRow(QWidget* parent, const char* fillName, const QString& fillCaption) {
  AddressRow address{};
  address.edit = new QLineEdit(parent);
  address.edit->setObjectName(QStringLiteral("AddressEdit"));
  address.edit->setPlaceholderText(QStringLiteral("2-32, 40"));
  address.fill = MakeButton(parent, fillName, fillCaption);
  address.row = new QHBoxLayout;
  address.row->addWidget(new QLabel(QStringLiteral("Addresses:"), parent));
  address.row->addWidget(address.edit, 1);
  address.row->addWidget(address.fill);
  return address;
}

FolderRow MakeFolderRow(QWidget* parent) {
  FolderRow folder{};
  folder.edit = new QLineEdit(parent);
  folder.edit->setObjectName(QStringLiteral("FolderEdit"));
  folder.browse = MakeButton(parent, "BrowseButton", QStringLiteral("Browse..."));
  QLineEdit* edit = folder.edit;
  QObject::connect(folder.browse, &QPushButton::clicked, parent, [parent, edit] {
    const QString chosen =
        QFileDialog::getExistingDirectory(parent, QStringLiteral("Folder"), edit->text());
    if (!chosen.isEmpty()) edit->setText(chosen);
  });
  folder.row = new QHBoxLayout;
  folder.row->addWidget(new QLabel(QStringLiteral("Folder:"), parent));
  folder.row->addWidget(folder.edit, 1);
  folder.row->addWidget(folder.browse);
  return folder;
}

void ShowFolderError(const QString& folder, const std::string& reason, QWidget* parent) {
  ShowError(QStringLiteral("Can not use the folder \"%1\".\n%2")
                .arg(folder, QString::fromLocal8Bit(reason.c_str())),
            parent);
}

QTableWidget* MakeResultTable(QWidget* parent, const char* name, const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QString::fromLatin1(name));
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setWordWrap(false);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

void AddRow(QTableWidget* table, const QStringList& texts) {
  const int row = table->rowCount();
  table->insertRow(row);
  for (int column = 0; column < texts.size(); ++column) {
    table->setItem(row, column, new QTableWidgetItem(texts[column]));
  }
  table->scrollToItem(table->item(row, 0));
}

QString MinutesText(int ms) {
  const int seconds = (ms + 999) / 1000;
  return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
