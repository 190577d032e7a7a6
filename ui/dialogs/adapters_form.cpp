#include "ui/dialogs/adapters_form.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widgets/message_box.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kMayOpenRole = Qt::UserRole + 1;

SerialPortScan& AdapterScan() {
  static SerialPortScan scan;
  return scan;
}

QString Decode(const std::string& text) {
  return QFile::decodeName(text.c_str());
}

QString ItemText(const SerialPortInfo& port) {
  QString text = Decode(port.deviceName);
  if (!port.maker.empty()) {
    text =
        Decode(port.maker + " " + port.product) + QStringLiteral(" (") + text + QStringLiteral(")");
  }
  if (!port.mayOpen) text += QStringLiteral(" - no access: join the dialout group");
  return text;
}

}  // namespace

void SetAdapterScan(const SerialPortScan& scan) {
  AdapterScan() = scan;
}

QString NoAccessText(const QString& device) {
  return QStringLiteral(
             "You may not open %1.\r\nAdd yourself to the dialout group "
             "(sudo adduser $USER dialout), then log out and in again.")
      .arg(device);
}

TAdaptersForm::TAdaptersForm(QWidget* parent) : QDialog(parent), scan_(AdapterScan()) {
  setObjectName(QStringLiteral("AdaptersForm"));
  setWindowTitle(QStringLiteral("Adapters"));
  PortList = new QListWidget(this);
  PortList->setObjectName(QStringLiteral("PortList"));
  NoneLabel = new QLabel(QStringLiteral("No serial device found. Plug the adapter in."), this);
  NoneLabel->setObjectName(QStringLiteral("NoneLabel"));
  UseCom1Button = new QPushButton(QStringLiteral("Use as COM1"), this);
  UseCom1Button->setObjectName(QStringLiteral("UseCom1Button"));
  UseCom2Button = new QPushButton(QStringLiteral("Use as COM2"), this);
  UseCom2Button->setObjectName(QStringLiteral("UseCom2Button"));
  CloseButton = new QPushButton(QStringLiteral("Close"), this);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(UseCom1Button);
  buttons->addWidget(UseCom2Button);
  buttons->addStretch();
  buttons->addWidget(CloseButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PortList);
  layout->addWidget(NoneLabel);
  layout->addLayout(buttons);
  resize(460, 240);

  connect(UseCom1Button, &QPushButton::clicked, this, [this] { UseAs(1); });
  connect(UseCom2Button, &QPushButton::clicked, this, [this] { UseAs(2); });
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(PortList, &QListWidget::currentRowChanged, this, [this](int row) {
    UseCom1Button->setEnabled(row >= 0);
    UseCom2Button->setEnabled(row >= 0);
  });
  // An adapter plugged in or out changes /dev and /dev/serial/by-id.
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
  Refresh();
}

void TAdaptersForm::Refresh() {
  const QListWidgetItem* current = PortList->currentItem();
  const QString selected = current ? current->data(kPathRole).toString() : QString();
  PortList->clear();
  for (const SerialPortInfo& port : ListSerialPorts(scan_)) {
    auto* item = new QListWidgetItem(ItemText(port), PortList);
    item->setData(kPathRole, Decode(port.path));
    item->setData(kMayOpenRole, port.mayOpen);
    item->setToolTip(Decode(port.path));
    if (item->data(kPathRole).toString() == selected) PortList->setCurrentItem(item);
  }
  if (PortList->currentRow() < 0 && PortList->count() > 0) PortList->setCurrentRow(0);
  NoneLabel->setVisible(PortList->count() == 0);
  UseCom1Button->setEnabled(PortList->currentRow() >= 0);
  UseCom2Button->setEnabled(PortList->currentRow() >= 0);
  WatchFolders();
}

void TAdaptersForm::WatchFolders() {
  // by-id appears with the first adapter, so the set is renewed each time.
  const QString dev = Decode(scan_.dev);
  for (const QString& folder :
       {dev, dev + QStringLiteral("/serial"), dev + QStringLiteral("/serial/by-id")}) {
    if (QFileInfo(folder).isDir() && !watcher_->directories().contains(folder)) {
      watcher_->addPath(folder);
    }
  }
}

void TAdaptersForm::UseAs(int port) {
  const QListWidgetItem* item = PortList->currentItem();
  if (item == nullptr) return;
  const QString device = item->data(kPathRole).toString();
  if (!item->data(kMayOpenRole).toBool()) {
    ShowError(NoAccessText(device), this);
    return;
  }
  chosenPort_ = port;
  chosenDevice_ = device;
  accept();
}
