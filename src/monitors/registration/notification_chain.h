#pragma once

#include <chrono>
#include <functional>

#include <QStringList>

#include "common/console_state.h"
#include "platform/form.h"
#include "platform/task.h"
#include "platform/web_browser.h"

namespace tidex {

// How long the notification waits for the board's extract before it goes without it.
inline constexpr std::chrono::seconds kBoardLookupLimit{30};
// How long the mail page, and the answer to the form, may take before the attempt counts as
// refused; below the minute after which a page counts as stalled.
inline constexpr std::chrono::seconds kMailPageLimit{50};
// A pending notification is sent again at each period of the registration query.
inline constexpr std::chrono::seconds kNotificationRetryPeriod{301};

// Sends the notification form of a finding on two browsers: the maker's mail page, the board
// lookup for the vessel, the form filled and submitted. The notification stays pending until
// the service has answered the submission with a page that loaded without an HTTP error; then
// the journal records it.
class NotificationChain final {
 public:
  NotificationChain(ConsoleState& console, WebBrowser& mail, WebBrowser& board);
  NotificationChain(const NotificationChain&) = delete;
  NotificationChain& operator=(const NotificationChain&) = delete;

  // Sends the pending notifications of these numbers, one after another. A number is passed
  // over when it has none, when another sender has it or had it within the last minute, or
  // when skip says so. owner: the window of the two browsers. Does nothing while a run is on.
  Task send(Form& owner, QStringList numbers);
  bool running() const { return running_; }

  std::function<bool(const QString& number)> skip;

 private:
  ConsoleState& console_;
  WebBrowser& mail_;
  WebBrowser& board_;
  bool running_ = false;
};

}  // namespace tidex
