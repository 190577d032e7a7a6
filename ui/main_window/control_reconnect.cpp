// A port whose device goes away (adapter pulled out, line hung up) is closed
// and awaited under the same name; when the device is back it is opened with
// the same settings and the link polls at once, so the lamp turns green
// without a click.
#include <QLabel>
#include <QTimer>

#include "comm/comm.h"
#include "link/qam_protocol.h"
#include "ui/main_window/control_form.h"
#include "ui/main_window/port_return.h"
#include "wiring/comm_link_port.h"

void TForm1::Comm1Gone() {
  qam_->Comm1Gone();
  // Closing waits until the event thread's hand-over that brought this is over.
  QTimer::singleShot(0, this, [this] { ClosePortGone(); });
}

bool TForm1::AwaitingPort() const {
  return portReturn_ != nullptr && portReturn_->Waiting();
}

void TForm1::ClosePortGone() {
  // The user may have chosen another port meanwhile.
  if (!Comm1->Gone()) return;
  const std::string path = Comm1->OpenedPath();
  Comm1->Close();
  // The engine sees the line as gone while it is away: nothing is sent, and
  // the tools refuse to start on it.
  port_->SetAway(true);
  PortAwayLabel->show();
  if (portReturn_ == nullptr) {
    portReturn_ = new PortReturn([this] { ReopenReturnedPort(); }, this);
  }
  portReturn_->Watch(path);
}

void TForm1::ReopenReturnedPort() {
  // A transfer that was running ends as a silent line ends it, by the
  // watchdog; the line comes back only after that.
  if (LinkBusy() || Comm1->Enabled()) return;
  try {
    Comm1->Open();
    if (Comm1->Enabled()) {
      Comm1->SetRTSState(true);
      Comm1->SetDTRState(true);
    }
  } catch (const ECommError&) {
    // A device still settling in; a box each second would bury the window.
    Comm1->Close();
  }
  if (!Comm1->Enabled()) {
    // There but not yet usable (permissions still being set): the slow
    // check tries again.
    Comm1->Close();
    return;
  }
  StopAwaitingPort();
  qam_->Start();
}

void TForm1::StopAwaitingPort() {
  if (portReturn_ != nullptr) portReturn_->Stop();
  port_->SetAway(false);
  PortAwayLabel->hide();
}
