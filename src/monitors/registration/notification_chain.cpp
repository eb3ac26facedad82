#include "monitors/registration/notification_chain.h"

#include "common/journal/journal.h"
#include "common/page/element_scan.h"
#include "common/page/page_wait.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "monitors/pilotboard/board_query.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

// Whether the browser shows a page other than `before` that loaded without an error: a click
// that led nowhere leaves the page it was made on.
bool NewPageLoaded(const WebBrowser& browser, const std::shared_ptr<HtmlDocument>& before) {
  const LoadResult& load = browser.lastLoad();
  return browser.Document() && browser.Document() != before && !load.failed &&
         load.httpStatus < 400;
}

void FillSender(HtmlDocument& form, const QString& number, const QString& vessel) {
  ScanInputs(form, [&](HtmlElement& input) {
    if (input.Name() == QStringLiteral("name")) input.setValue(number + u' ' + vessel);
    if (input.Name() == QStringLiteral("mail")) input.setValue(Desktop::current().computerName());
  });
}

// Fills in the board's extract and clicks the first submit input; false without one.
bool FillExtractAndSubmit(HtmlDocument& form, const QString& extract) {
  bool clicked = false;
  ScanInputs(form, [&](HtmlElement& input) {
    if (input.Name() == QStringLiteral("namea")) input.setValue(extract);
    if (input.Name() == QStringLiteral("submit") && !clicked) {
      input.Click();
      clicked = true;
    }
  });
  return clicked;
}

}  // namespace

NotificationChain::NotificationChain(ConsoleState& console, WebBrowser& mail, WebBrowser& board)
    : console_(console), mail_(mail), board_(board) {}

Task NotificationChain::send(Form& /*owner*/, QStringList numbers) {
  if (running_) co_return;
  running_ = true;
  for (const QString& number : numbers) {
    if (skip && skip(number)) continue;
    PendingNotifications& pending = console_.journal().pendingNotifications();
    const std::optional<PendingNotification> notification = pending.find(number);
    if (!notification) continue;
    const auto sending = pending.takeForSending(number);
    if (!sending) continue;
    const QString& vessel = notification->vessel;

    const auto before = mail_.Document();
    mail_.Navigate2(ServerAddress(settings_keys::kServerMaker) + QStringLiteral("/pda/mail.php"));
    if (!co_await BoundedPageWait(mail_, kMailPageLimit)) mail_.Recreate();
    const auto form = mail_.Document();
    bool accepted = false;
    if (NewPageLoaded(mail_, before)) {
      board_.Navigate2(BoardQuery(ServerAddress(settings_keys::kServerBoardIp), vessel, QString()));
      FillSender(*form, number, vessel);
      QString extract;
      // A board that never answers would hold the notification back for good: it goes
      // without the board's extract.
      if (co_await BoundedPageWait(board_, kBoardLookupLimit)) {
        if (const auto page = board_.Document()) {
          const QString text = page->documentElement().innerText();
          extract = ExtractBetween(text, QStringLiteral("艏推"), QStringLiteral("進港"));
        }
      } else {
        board_.Recreate();
      }
      // A click on a page no longer shown goes nowhere and leaves the browser idle.
      if (FillExtractAndSubmit(*form, extract) && mail_.Busy()) {
        const bool answered = co_await BoundedPageWait(mail_, kMailPageLimit);
        if (!answered) mail_.Recreate();
        accepted = answered && NewPageLoaded(mail_, form);
      }
    }

    if (accepted) {
      pending.remove(number);
      console_.journal().record(number, journal::kind::kRegistration, journal::event::kNotification,
                                (number + u' ' + vessel).simplified());
    } else if (pending.firstRefusal(number)) {
      console_.journal().record(number, journal::kind::kRegistration,
                                journal::event::kNotificationPending,
                                QStringLiteral("到櫃通知未送達，稍後重送"));
    }
  }
  running_ = false;
}

}  // namespace tidex
