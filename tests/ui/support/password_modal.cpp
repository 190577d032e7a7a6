#include "tests/ui/support/password_modal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include "ui/dialogs/password_form.h"

namespace {

constexpr int kPollMs = 5;
constexpr int kLeftOpenMs = 2000;

}  // namespace

PasswordAnswerCount AnswerPasswordForm(std::function<void(TPasswordForm*)> answer, int waitMs) {
  auto count = std::make_shared<int>(0);
  auto* poll = new QTimer(qApp);  // owned by the application, deleted when done
  const QDeadlineTimer deadline(waitMs);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, count, deadline, answer]() {
    auto* form = qobject_cast<TPasswordForm*>(QApplication::activeModalWidget());
    if (form == nullptr) {
      if (deadline.hasExpired()) {
        poll->stop();
        poll->deleteLater();
      }
      return;
    }
    poll->stop();
    poll->deleteLater();
    ++*count;
    QPointer<TPasswordForm> answered(form);
    answer(form);
    QTimer::singleShot(kLeftOpenMs, qApp, [answered]() {
      if (answered && answered->isVisible()) answered->reject();
    });
  });
  poll->start(kPollMs);
  return count;
}
