#pragma once

#include "common/console_state.h"
#include "common/imct_login.h"
#include "common/monitor_status.h"
#include "common/read_health.h"
#include "monitors/registration/notification_chain.h"
#include "platform/form.h"
#include "platform/frame.h"
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
class Form2 final : public Form, public WatchingWindow {
 public:
  explicit Form2(ConsoleState& console);

  Frame Frame1{*this, "Frame1"};
  WebBrowser WebBrowser1{*this, Frame1.holds("WebBrowser1")};
  WebBrowser WebBrowser2{*this, "WebBrowser2"};  // notification mail page
  WebBrowser WebBrowser3{*this, "WebBrowser3"};  // pilot-board lookup for the mail
  TextBox Text1{*this, "Text1", "0"};            // seconds since the last query
  TextBox Text2{*this, "Text2", "開關視窗"};     // show-all flag as last read
  TextBox Text3{*this, "Text3", "Text3"};        // text of the last IMCT page
  TextBox Text4{*this, "Text4", "格式化時間"};   // time of the last answer, then the board text
  Timer Timer1{*this, "Timer1", 1000, true};     // poll
  Timer Timer2{*this, "Timer2", 5000, false};    // alert loop
  Timer Timer3{*this, "Timer3", 1000, true};     // show-all signal and daily close
  Timer Timer4{*this, "Timer4", 3000, false};    // print command back after printing
  // Sends the number's notification again while the mail service has not accepted it.
  Timer notificationTimer{*this, "notificationTimer",
                          static_cast<int>(kNotificationRetryPeriod.count() * 1000)};
  Menu mUnload{*this, "mUnload", "Unload"};
  Menu mHide{*this, "mHide", "Hide"};
  Menu mPrint{*this, "mPrint", "列印"};
  Menu mStopBeep{*this, "mStopBeep", "停止"};
  Label blindLine{*this, "blindLine"};  // why the query goes unanswered, beneath the page

  void Form_Load() override;
  void Form_Resize() override;
  // The close rule: a window whose number is not found yet only hides.
  void Form_Unload(int& cancel) override;

  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void notificationTimer_Timer();
  void mUnload_Click();
  void mHide_Click();
  void mPrint_Click();
  void mStopBeep_Click();

  MonitorStatus monitorStatus() const override;

  // The IMCT query: fills and submits the forms it recognises, then acts on the page text.
  Task WebBrowser1_DocumentComplete();

 private:
  void wireEvents();
  void RecordFinding();
  void SaveFinding();
  void RecordNoData();
  // Keeps the finding's notification pending and sends it on WebBrowser2 and WebBrowser3.
  void NotifyFinding();

  ConsoleState& console_;
  ImctFormFiller forms_;
  // The time of a finding not yet in the settings file; empty when there is none.
  QString unsavedFindingTime_;
  NotificationChain notification_{console_, WebBrowser2, WebBrowser3};
  QDateTime foundTime_;   // when the counts appeared; invalid before
  QString foundSummary_;  // the counts and the vessel

  // Whether the IMCT query is still answered.
  void ReportQueryPage(HtmlDocument& page, const QString& text);
  void ShowBlindLine(const QString& line);
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
