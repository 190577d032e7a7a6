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

// Tests list folders of pseudo-terminals instead of /dev; an empty scan
// restores the real one.
void SetAdapterScan(const SerialPortScan& scan);

class TAdaptersForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAdaptersForm(QWidget* parent = nullptr);

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
  void WatchFolders();

  SerialPortScan scan_;
  QFileSystemWatcher* watcher_ = nullptr;
  int chosenPort_ = 0;
  QString chosenDevice_;
};

// The message for a device this user may not open.
QString NoAccessText(const QString& device);
