#include "ui/dialogs/adapters_form.h"

#include <grp.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/device_names.h"
#include "ui/widgets/help_key.h"
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

// Whether the device's group may read and write it, and that group's name.
bool GroupMayUse(unsigned mode, const QString& group) {
  return !group.isEmpty() && (mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
}

struct DeviceRights {
  unsigned mode = 0;
  QString group;
  QString kernelName;
};

DeviceRights RightsOf(const QString& device) {
  DeviceRights rights;
  const QString real = QFileInfo(device).canonicalFilePath();
  rights.kernelName = QFileInfo(real.isEmpty() ? device : real).fileName();
  struct stat info {};
  if (::stat(QFile::encodeName(device).constData(), &info) != 0) return rights;
  rights.mode = info.st_mode & 07777;
  if (info.st_gid != 0) {
    if (const struct group* entry = ::getgrgid(info.st_gid)) {
      rights.group = QString::fromLocal8Bit(entry->gr_name);
    }
  }
  return rights;
}

QString ItemText(const SerialPortInfo& port) {
  QString text = Decode(port.deviceName);
  if (!port.maker.empty()) {
    text =
        Decode(port.maker + " " + port.product) + QStringLiteral(" (") + text + QStringLiteral(")");
  }
  if (!port.mayOpen) {
    const DeviceRights rights = RightsOf(Decode(port.path));
    text += GroupMayUse(rights.mode, rights.group)
                ? QStringLiteral(" - no access: join the %1 group").arg(rights.group)
                : QStringLiteral(" - no access: needs a udev rule");
  }
  return text;
}

// "ttyUSB0" gives "ttyUSB[0-9]*": the rule then serves every adapter of that kind.
QString KernelPattern(const QString& kernelName) {
  QString stem = kernelName;
  while (!stem.isEmpty() && stem.back().isDigit()) stem.chop(1);
  return stem.isEmpty() ? kernelName : stem + QStringLiteral("[0-9]*");
}

}  // namespace

void SetAdapterScan(const SerialPortScan& scan) {
  AdapterScan() = scan;
}

QString NoAccessText(const QString& device) {
  const DeviceRights rights = RightsOf(device);
  return NoAccessText(device, rights.mode, rights.group, rights.kernelName);
}

QString NoAccessText(const QString& device, unsigned mode, const QString& group,
                     const QString& kernelName) {
  if (GroupMayUse(mode, group)) {
    return QStringLiteral(
               "You may not open %1.\r\nAdd yourself to the %2 group "
               "(sudo adduser $USER %2), then log out and in again.")
        .arg(device, group);
  }
  return QStringLiteral(
             "You may not open %1: only its owner may use it (mode %2), so joining the "
             "dialout group does not help.\r\nA udev rule must give it to the dialout group: "
             "as root, put the line\r\n"
             "SUBSYSTEM==\"tty\", KERNEL==\"%3\", GROUP=\"dialout\", MODE=\"0660\"\r\n"
             "into /etc/udev/rules.d/99-zelta-serial.rules, plug the adapter in again, and "
             "join the dialout group (sudo adduser $USER dialout). F1 tells more.")
      .arg(device, QStringLiteral("%1").arg(mode & 0777u, 4, 8, QLatin1Char('0')),
           KernelPattern(kernelName));
}

TAdaptersForm::TAdaptersForm(QWidget* parent, const QString& programFolder)
    : QDialog(parent), scan_(AdapterScan()), programFolder_(programFolder) {
  setObjectName(QStringLiteral("AdaptersForm"));
  SetHelpContext(this, kAdaptersHelpContext);
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
  connect(PortList, &QListWidget::itemSelectionChanged, this, &TAdaptersForm::ShowSelection);
  // An adapter plugged in or out changes /dev and /dev/serial/by-id.
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
  Refresh();
}

void TAdaptersForm::Refresh() {
  const QList<QListWidgetItem*> before = PortList->selectedItems();
  const QString selected =
      before.isEmpty() ? QString() : before.first()->data(kPathRole).toString();
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
  ShowSelection();
  WatchFolders();
}

void TAdaptersForm::ShowSelection() {
  // Only a device that is selected can be used; the current row alone may be
  // unselected (Ctrl+click) or gone.
  const bool selected = !PortList->selectedItems().isEmpty();
  UseCom1Button->setEnabled(selected);
  UseCom2Button->setEnabled(selected);
}

bool TAdaptersForm::OtherPortNames(int port, const QString& device) const {
  const std::string other = ResolveSerialDeviceName(
      port == 1 ? "Com2" : "Com1", QFile::encodeName(programFolder_).toStdString());
  const QString named = QFileInfo(QFile::decodeName(other.c_str())).canonicalFilePath();
  return !named.isEmpty() && named == QFileInfo(device).canonicalFilePath();
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
  const QList<QListWidgetItem*> selected = PortList->selectedItems();
  if (selected.isEmpty()) return;
  const QListWidgetItem* item = selected.first();
  const QString device = item->data(kPathRole).toString();
  if (!item->data(kMayOpenRole).toBool()) {
    ShowError(NoAccessText(device), this);
    return;
  }
  if (!programFolder_.isEmpty() && OtherPortNames(port, device) &&
      !AskWarning(QStringLiteral("COM%1 already stands for %2.\r\nUse it as COM%3 too? Then "
                                 "both ports name the same device, and only one of them can "
                                 "have it open at a time.")
                      .arg(port == 1 ? 2 : 1)
                      .arg(device)
                      .arg(port),
                  this)) {
    return;
  }
  chosenPort_ = port;
  chosenDevice_ = device;
  accept();
}
