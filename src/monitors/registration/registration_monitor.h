#pragma once

#include "common/console_state.h"
#include "common/health/read_health.h"
#include "common/imct/imct_login.h"
#include "monitors/monitor_window.h"
#include "monitors/registration/notification_chain.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/task.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

// The registration monitor: watches one customs registration number, the caption, on the
// IMCT service until container counts appear for it, then alerts, records the finding and
// sends the notification form.
// Its show-all watcher also closes it at 04:50 when the tray is hidden.
class RegistrationMonitor final : public MonitorWindow {
 public:
  explicit RegistrationMonitor(ConsoleState& console);

  WebBrowser mailBrowser{*this, "WebBrowser2"};      // notification mail page
  WebBrowser boardBrowser{*this, "WebBrowser3"};     // pilot-board lookup for the mail
  Timer printMenuTimer{*this, "Timer4", 3s, false};  // print command back after printing
  // Sends the number's notification again while the mail service has not accepted it.
  Timer notificationTimer{*this, "notificationTimer", kNotificationRetryPeriod};
  Menu unloadMenu{*this, "mUnload", "Unload"};
  Menu printMenu{*this, "mPrint", "列印"};
  Menu stopBeepMenu{*this, "mStopBeep", "停止"};
  Label blindLine{*this, "blindLine"};  // why the query goes unanswered, beneath the page

  void onLoad() override;
  void onResize() override;
  // The close rule: a window whose number is not found yet only hides.
  void onUnload(int& cancel) override;

  void onPollTick() override;
  void onAlertTick() override;
  void onShowAllTick() override;
  void restorePrintMenu();
  void onNotificationRetry();
  void unloadWindow();
  void printPage();
  void stopBeeping();

  MonitorStatus monitorStatus() const override;

  // Whether container counts have appeared for the number in this run.
  bool isFound() const { return foundTime_.isValid(); }
  int secondsSinceQuery() const { return secondsSinceQuery_; }
  // The text of the last IMCT page read.
  const QString& lastPageText() const { return lastPageText_; }

  // The IMCT query: fills and submits the forms it recognises, then acts on the page text.
  Task onPageComplete();

 private:
  void wireEvents();
  void recordFinding();
  void saveFinding();
  void recordNoData();
  // Keeps the finding's notification pending and sends it on mailBrowser and boardBrowser.
  void notifyFinding();

  ImctFormFiller forms_;
  int secondsSinceQuery_ = 0;
  QString lastPageText_;
  QString lastAnswerTime_;  // when the service last answered, found or not
  // The time of a finding not yet in the settings file; empty when there is none.
  QString unsavedFindingTime_;
  NotificationChain notification_{console_, mailBrowser, boardBrowser};
  QDateTime foundTime_;   // when the counts appeared; invalid before
  QString foundSummary_;  // the counts and the vessel

  // Whether the IMCT query is still answered.
  void reportQueryPage(HtmlDocument& page, const QString& text);
  void showBlindLine(const QString& line);
  ReadHealth readHealth_;
};

// Query periods without an answer after which a registration monitor counts as blind.
inline constexpr int kBlindAfterQueries = 3;

// The text between two two-character markers: from the first character after the first
// occurrence of begin, as long as the distance to the first occurrence of end allows; empty
// when end comes first. Positions count from 1, 0 standing for a missing marker.
QString ExtractBetween(const QString& text, const QString& begin, const QString& end);
// The vessel of an IMCT answer page: between "船名" and "船隻".
QString VesselOf(const QString& pageText);
// The container counts of an IMCT answer page in one line ("實櫃數 3　空櫃數 1").
QString CountsLine(const QString& pageText);

}  // namespace tidex
