#pragma once

#include <memory>

#include "common/console_state.h"
#include "monitors/registration/notification_chain.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/web_browser.h"

namespace tidex {

// Sends the pending notifications whose registration monitor is not open (closed, or found by
// an earlier run of the program) on two hidden browsers of the console: once at start, then at
// every period of the registration query. A monitor that is open sends its own.
class NotificationSender final {
 public:
  NotificationSender(Form& console, ConsoleState& state, WebBrowser& mail, WebBrowser& board);

  void start();

 private:
  void sendRound();

  Form& console_;
  ConsoleState& state_;
  NotificationChain chain_;
  std::unique_ptr<QueuedCall> firstRound_;
  std::unique_ptr<TimerHandle> period_;
};

// Whether a registration monitor for the number is open, shown or hidden.
bool RegistrationMonitorOpen(const QString& number);

}  // namespace tidex
