#include "monitors/registration/notification_sender.h"

#include "common/journal/journal.h"
#include "monitors/registration/registration_monitor.h"

namespace tidex {

bool RegistrationMonitorOpen(const QString& number) {
  for (Form* window : Desktop::current().windows().all()) {
    if (dynamic_cast<RegistrationMonitor*>(window) && !window->isUnloaded() &&
        window->Caption() == number) {
      return true;
    }
  }
  return false;
}

NotificationSender::NotificationSender(Form& console, ConsoleState& state, WebBrowser& mail,
                                       WebBrowser& board)
    : console_(console), state_(state), chain_(state, mail, board) {
  chain_.skip = [](const QString& number) { return RegistrationMonitorOpen(number); };
}

void NotificationSender::start() {
  Desktop& desktop = Desktop::current();
  firstRound_ = desktop.queue([this] { sendRound(); });
  period_ = desktop.startTimer(kNotificationRetryPeriod, [this] { sendRound(); });
}

void NotificationSender::sendRound() {
  QStringList numbers;
  for (const PendingNotification& pending : state_.journal().pendingNotifications().all()) {
    numbers << pending.number;
  }
  if (!numbers.isEmpty()) chain_.send(console_, numbers);
}

}  // namespace tidex
