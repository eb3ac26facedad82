#pragma once

#include <QString>

#include "common/console_state.h"
#include "common/monitor_status.h"
#include "common/read_health.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/task.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

// What tells the wharf, vessel and URL monitors apart.
struct BoardMonitorKind {
  QString name;  // the window class: "Form6", "Form3", "Form7"
  // The console field that names the watched item at load and takes the caption back.
  TextBox& (*watchedItemField)(ConsoleState& console);
  // The console timer that reopens a monitor of this kind.
  Timer& (*reopenTimer)(ConsoleState& console);
  // The close question, shown before the countdown.
  QString reopenQuestion;
  // The page loaded for the watched item, at load and on every reload.
  QString (*pageAddress)(const QString& item);
  // The board's search field that takes the watched item; empty: no form is filled or sent.
  QString searchFieldName;
  // The page text reduced to what is compared.
  QString (*normalise)(const QString& pageText);
  // Whether error pages are left out of the comparison (and differences counted).
  bool filtersErrorPages = true;
  // The kind of the window in the journal (journal::kind).
  const char* journalKind = "";
  // The server of the settings whose pages are the board; a page elsewhere (a redirect to
  // another host) is neither filled in nor compared. Empty: every page counts.
  QString server{};
  // The kind as the user reads it in the status window.
  QString displayName{};
};

// Reloads without a good read after which a board monitor counts as blind.
inline constexpr int kBlindAfterReloads = 5;

// The pilot-board monitor window shared by the wharf, vessel and URL monitors: it keeps one
// board page open for its watched item, the caption, and alerts when the page changes.
class BoardMonitor : public Form, public WatchingWindow {
 public:
  Frame Frame1{*this, "Frame1"};
  WebBrowser WebBrowser1{*this, Frame1.holds("WebBrowser1")};
  TextBox Text1{*this, "Text1", "A"};          // baseline; "A" until the first page
  TextBox Text2{*this, "Text2", "A"};          // latest
  TextBox Text3{*this, "Text3", "0"};          // submit guard
  TextBox Text5{*this, "Text5", "0"};          // seconds since the last reload
  TextBox Text6{*this, "Text6", "Text6"};      // show-all flag as last read
  TextBox Text7{*this, "Text7", "0"};          // consecutive ticks that found a difference
  Timer Timer1{*this, "Timer1", 1000, true};   // poll clock
  Timer Timer2{*this, "Timer2", 5000, false};  // alert loop
  Timer Timer3{*this, "Timer3", 1000, true};   // show-all watcher
  Menu mHide{*this, "mHide", "Hide"};
  Menu mStopBeep{*this, "mStopBeep", "停止"};
  Label Label1{*this, "Label1"};  // what changed, beneath the page while alerting

  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& cancel) override;

  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void mHide_Click();
  void mStopBeep_Click();
  Task WebBrowser1_DocumentComplete();
  // Compares baseline and latest text; true when the alert must start.
  bool ChangeTest();
  // Whether the latest text came from an error page rather than the board.
  bool LatestIsErrorPage() const { return latestIsErrorPage_; }
  MonitorStatus monitorStatus() const override;

 protected:
  BoardMonitor(ConsoleState& console, const BoardMonitorKind& kind);

 private:
  Task CloseSequence();
  void ReplaceStalledPage();
  // The alert starts: the journal, the line beneath the page and the desktop notification.
  void AlertStarted();
  void ShowChangeLine(const QString& text);
  // Whether a page stands where the board answers: the configured server, or where the
  // board's server sent the browser.
  bool onBoard(const HtmlDocument& page) const;
  // Whether a page carries the board's search field: what makes it the board.
  bool carriesSearchForm(HtmlDocument& page) const;
  // Takes a completed page as the latest text (and the baseline, the first time).
  void readPage(HtmlDocument& page, const LoadResult& load);
  void followBoard(const QString& pageAddress);

  ConsoleState& console_;
  const BoardMonitorKind& kind_;
  bool latestIsErrorPage_ = false;
  QString baselinePage_;          // the page text Text1 was taken from, as read
  QString latestPage_;            // the same for Text2
  QStringList baselineHeadings_;  // the heading cells of those pages
  QStringList latestHeadings_;
  QString boardOrigin_;    // where the board answers when not at the configured server
  bool formSeen_ = false;  // a page carried the board's search form
  bool closing_ = false;
  bool alertStarted_ = false;
  QDateTime alertTime_;
  QString alertSummary_;
  ReadHealth health_;
};

}  // namespace tidex
