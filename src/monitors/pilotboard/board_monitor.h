#pragma once

#include <QString>
#include <optional>

#include "common/console_state.h"
#include "common/health/read_health.h"
#include "monitors/monitor_window.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/task.h"
#include "platform/text_box.h"
#include "platform/web_browser.h"

namespace tidex {

// What tells the wharf, vessel and URL monitors apart.
struct BoardMonitorKind {
  QString name;  // the window's name: "Form6" (wharf), "Form3" (vessel), "Form7" (address)
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
  // The kind of the window in the journal (journal::kind), which also names the kind to the
  // console: the watched item at load, the caption given back, a monitor reopened.
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
// board page open for its watched item, the caption, reloads it every minute and alerts when
// the page changes.
class BoardMonitor : public MonitorWindow {
 public:
  Menu stopBeepMenu{*this, "mStopBeep", "停止"};
  Label changeLine{*this, "Label1"};  // what changed, beneath the page while alerting

  void onLoad() override;
  void onResize() override;
  void onUnload(int& cancel) override;

  void onPollTick() override;
  void onAlertTick() override;
  void onShowAllTick() override;
  void stopBeeping();
  Task onPageComplete();
  // Compares baseline and latest text; true when the alert must start.
  bool pageChanged();
  // Whether the latest text came from an error page rather than the board.
  bool latestIsErrorPage() const { return latestIsErrorPage_; }
  // The compared text of the first page read as the board, and of the latest page.
  bool hasBaseline() const { return baseline_.has_value(); }
  QString baseline() const { return baseline_.value_or(QString()); }
  QString latest() const { return latest_.value_or(QString()); }
  // Whether the board's search has been sent since the last reload.
  bool searchSent() const { return searchSent_; }
  int secondsSinceReload() const { return secondsSinceReload_; }
  int differenceTicks() const { return differenceTicks_; }
  MonitorStatus monitorStatus() const override;

 protected:
  BoardMonitor(ConsoleState& console, const BoardMonitorKind& kind);

 private:
  Task closeSequence();
  // What an alert tells: the journal, the line beneath the page and the desktop notification.
  void recordAlert();
  void showChangeLine(const QString& text);
  // Whether a page stands where the board answers: the configured server, or where the
  // board's server sent the browser.
  bool onBoard(const HtmlDocument& page) const;
  // Whether a page carries the board's search field: what makes it the board.
  bool carriesSearchForm(HtmlDocument& page) const;
  // Takes a completed page as the latest text (and the baseline, the first time).
  void readPage(HtmlDocument& page, const LoadResult& load);
  void followBoard(const QString& pageAddress);

  const BoardMonitorKind& kind_;
  std::optional<QString> baseline_;  // none until the first page read as the board
  std::optional<QString> latest_;
  bool searchSent_ = false;  // the search form is sent once per reload
  int secondsSinceReload_ = 0;
  int differenceTicks_ = 0;  // consecutive ticks that found a difference
  bool latestIsErrorPage_ = false;
  QString baselinePage_;          // the page text the baseline was taken from, as read
  QString latestPage_;            // the same for the latest
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
