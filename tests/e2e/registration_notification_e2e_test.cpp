#include <gtest/gtest.h>

#include <thread>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "console_session.h"
#include "platform/journal_reader.h"
#include "platform/journal_schema.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

// The journal's events for the number, oldest first.
QStringList journalEvents(const QString& home, const QString& number) {
  const journal::Reading reading = journal::ReadJournal(
      home + QLatin1Char('/') + QString::fromUtf8(journal::kFileName), {number, QString()});
  QStringList events;
  for (const journal::Entry& entry : reading.entries) events.prepend(entry.event);
  return events;
}

}  // namespace

// The maker's mail service answers the first two submissions of a finding's notification with
// HTTP 500, and the program is ended after the first: the next run sends the notification kept
// pending in the journal, again at the query period after the second failure, and the service
// accepts exactly one form, even though its thanks page offers the form again.
TEST(ProgramEndToEnd, ANotificationTheMailServiceFailsIsSentAgainAfterARestartAndAcceptedOnce) {
  ConsoleSession session;
  const SitesRunner& sites = session.sites;
  const QString home = session.home.path();
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(WriteKnownAccount(home));
  ASSERT_EQ(httpSend(sites.base(), "POST", "/_control/maker/batch-list", "CHECK\n01VXXX\n").status,
            200);
  ASSERT_TRUE(sites.control(
      "/_control/imct/found?regno=01VXXX&vessel=%20YM%20HARMONY%20&laden=12&empty=3"));
  ASSERT_TRUE(sites.control("/_control/mail/form-again?on=1"));
  ASSERT_TRUE(sites.control("/_control/faults/maker?kind=500&match=submit%3D&times=2"));
  qputenv("COMPUTERNAME", "HARBOUR-PC");
  const auto submissionsSent = [&] {
    return sites.requestLog().filter("POST /pda/mail.php").size();
  };
  const auto accepted = [&] {
    return QJsonDocument::fromJson(httpGet(sites.base() + "/_control/mail/submissions")).array();
  };

  // The batch list is fetched at 10:29:00.
  ASSERT_TRUE(session.startHidden(ProgramClock::from("2026-12-08 10:28:55"))) << session.failure();
  ASSERT_TRUE(waitUntil(
      [&] { return journalEvents(home, "01VXXX").contains("notification-pending"); }, 90s))
      << session.program.output().data();
  session.stop();
  EXPECT_EQ(submissionsSent(), 1);
  EXPECT_TRUE(accepted().isEmpty());

  // The query period of 301 s passes in half a minute.
  ASSERT_TRUE(session.restart(ProgramClock::faster(10))) << session.failure();
  ASSERT_TRUE(waitUntil([&] { return !accepted().isEmpty(); }, 120s))
      << session.program.output().data();
  std::this_thread::sleep_for(5s);  // the thanks page offers the form again: nothing more goes
  EXPECT_EQ(submissionsSent(), 3);
  const QJsonArray mails = accepted();
  ASSERT_EQ(mails.size(), 1);
  EXPECT_EQ(mails[0]["name"].toString(), "01VXXX  YM HARMONY ");
  EXPECT_EQ(mails[0]["mail"].toString(), "HARBOUR-PC");
  // Pending said once in each run, accepted once.
  EXPECT_EQ(journalEvents(home, "01VXXX"),
            (QStringList{"found", "notification-pending", "notification-pending", "notification"}));
  session.stop();
}
