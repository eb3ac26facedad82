#pragma once

#include <QString>

#include "common/console_state.h"
#include "common/health/monitor_status.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/menu.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

// The alert machinery every monitor window carries: the watched page in its frame, the poll
// clock, the alert loop, the show-all watcher and the Hide command. A kind's window says what
// a tick of each does; starting the alert, one turn of its loop, the show-all signal and a page
// that never answered are the same for every kind.
class MonitorWindow : public Form, public WatchingWindow {
 public:
  Frame pageFrame{*this, "Frame1"};
  WebBrowser pageBrowser{*this, pageFrame.holds("WebBrowser1")};
  Timer pollTimer{*this, "Timer1", 1s, true};     // poll clock
  Timer alertTimer{*this, "Timer2", 5s, false};   // alert loop
  Timer showAllTimer{*this, "Timer3", 1s, true};  // show-all watcher
  Menu hideMenu{*this, "mHide", "Hide"};

  // Whether the alert is on: beeps and the window brought forward until the user stops it.
  bool isAlerting() const { return alertTimer.Enabled(); }

  virtual void onPollTick() = 0;
  virtual void onAlertTick() = 0;
  virtual void onShowAllTick() = 0;
  void hideWindow() { Hide(); }

 protected:
  MonitorWindow(ConsoleState& console, const QString& name);

  // The alert starts: its loop runs and the polling stops.
  void startAlerting();
  // One turn of the alert loop: the tones, after bringing the window forward when asked.
  void ringAlert(bool bringForward);
  // Shows the window, restored, while the settings file asks every window to show.
  void showIfAllAsked();
  // The last poll's page was never read: a fresh page, and the engine is looked at.
  void replaceUnreadPage();

  ConsoleState& console_;
};

}  // namespace tidex
