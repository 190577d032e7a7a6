// Port > Adapters...: the serial devices present, kept current while the
// dialog is open, and which of them COM1 or COM2 shall stand for.
#pragma once

#include <QDialog>
#include <QString>

#include "platform/serial_ports.h"

class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QPushButton;

// F1 in the dialog: its own help topic (the dialout group, udev rules).
constexpr int kAdaptersHelpContext = 33;

// Tests list folders of pseudo-terminals instead of /dev; an empty scan
// restores the real one.
void SetAdapterScan(const SerialPortScan& scan);

class TAdaptersForm : public QDialog {
  Q_OBJECT

 public:
  // `programFolder` holds the "Com1"/"Com2" names, to tell when the other
  // port already stands for the chosen device.
  explicit TAdaptersForm(QWidget* parent = nullptr, const QString& programFolder = QString());

  // After "Use as COM1" or "Use as COM2": 1 or 2 and the device; 0 otherwise.
  int ChosenPort() const { return chosenPort_; }
  const QString& ChosenDevice() const { return chosenDevice_; }

  // Lists the devices again, keeping the selected one selected.
  void Refresh();

  QListWidget* PortList = nullptr;
  QLabel* NoneLabel = nullptr;
  QPushButton* UseCom1Button = nullptr;
  QPushButton* UseCom2Button = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  void UseAs(int port);
  void ShowSelection();
  void WatchFolders();
  bool OtherPortNames(int port, const QString& device) const;

  SerialPortScan scan_;
  QString programFolder_;
  QFileSystemWatcher* watcher_ = nullptr;
  int chosenPort_ = 0;
  QString chosenDevice_;
};

// The message for a device this user may not open, from its rights: a device
// its group may use asks to join that group; one only its owner may use
// (root's, mode 0600) needs a udev rule, which joining a group cannot replace.
QString NoAccessText(const QString& device);
// The same from the device's mode, its group's name (empty when the group
// is root's) and its kernel name (ttyUSB0).
QString NoAccessText(const QString& device, unsigned mode, const QString& group,
                     const QString& kernelName);
