#include "ui/tools/tool_widgets.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

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
