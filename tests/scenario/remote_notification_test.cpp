// The user has two remote targets in Tidex.ini: a mailbox and a webhook. Whatever the monitors
// find reaches each target once, none while its quiet period holds, and a send that fails is
// tried again later, after a restart too, and delivered once.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "test_printers.h"

#include "common/remote/remote_targets.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/journal_rows.h"
#include "sites/board_service.h"
#include "sites/imct_service.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

const QString kMailServer = QStringLiteral("smtp://mail.harbour.test:587");
const QString kWebhook = QStringLiteral("http://hooks.harbour.test/tidex");
const QString kNumber = QStringLiteral("01VXXX");

// The mailbox is quiet at night for everything; the webhook only for alerts.
void configureTargets() {
  RemoteTarget phone;
  phone.name = QStringLiteral("phone");
  phone.delivery = {
      DeliveryTarget::Kind::Email, kMailServer, "duty", "secret", "tidex@harbour.test",
      {"duty@harbour.test"},       true,        {},     {}};
  phone.events = {RemoteEventGroup::Alert, RemoteEventGroup::Finding, RemoteEventGroup::Blind,
                  RemoteEventGroup::Engine, RemoteEventGroup::Login};
  phone.quiet = QuietPeriod::parse("22:00-07:00");
  RemoteTarget hook;
  hook.name = QStringLiteral("hook");
  hook.delivery.address = kWebhook;
  hook.events = phone.events;
  hook.quiet = QuietPeriod::parse("22:00 - 07:00");
  hook.quiet->groups = {RemoteEventGroup::Alert};
  ASSERT_FALSE(CheckRemoteTarget(phone));
  ASSERT_FALSE(CheckRemoteTarget(hook));
  ASSERT_TRUE(WriteRemoteTarget(phone));
  ASSERT_TRUE(WriteRemoteTarget(hook));
}

QString kindOf(const DeliveryMessage& message) {
  return QJsonDocument::fromJson(message.json).object().value("kind").toString();
}

QStringList kindsAccepted(SimDesktop& desk, const QString& address) {
  QStringList kinds;
  for (const DeliveryMessage& message : desk.delivery().accepted(address)) {
    kinds << kindOf(message);
  }
  return kinds;
}

// A finding on a registration monitor; the board fails until the wharf monitor is blind, and
// comes back; then an alert on the wharf monitor.
void watchThroughFindingBlindnessAndAlert(SimPortDesktop& desk) {
  desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 12, 3});
  saveKnownAccount();
  BoardMonitor& wharf = watchWharf(desk);
  ConsoleWindow& console = windowCaptioned<ConsoleWindow>(desk, ConsoleWindow::ConsoleCaption());
  console.silentModeCheck.setValue(1);  // silent mode is about beeps
  typeAndClick(desk, console.registrationField, kNumber, console.registrationButton);
  desk.advance(2min);
  ASSERT_TRUE(windowCaptioned<RegistrationMonitor>(desk, kNumber).alertTimer.Enabled()) << "found";
  desk.sites().setFault(Service::Board, Fault::ServerError);
  desk.advance(10min);
  ASSERT_EQ(journalRowsOf(desk, journal::event::kBlind).size(), 1u);
  desk.sites().setFault(Service::Board, Fault::None);
  desk.advance(61s);
  ASSERT_EQ(journalRowsOf(desk, journal::event::kReadsAgain).size(), 1u);
  ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
  desk.advance(66s);
  ASSERT_TRUE(wharf.isAlerting()) << "alerting";
  desk.clickMenu(wharf.stopBeepMenu);
}

}  // namespace

TEST(RemoteNotification, EachEventReachesEachTargetOnceSilentModeOrNotButNoneInItsQuietPeriod) {
  struct Case {
    const char* start;
    QStringList mailbox;
    QStringList webhook;
  };
  const QStringList everything{"finding", "blind", "reads-again", "alert"};
  const Case cases[] = {
      {"2026-12-08 10:00:00", everything, everything},
      {"2026-12-08 22:30:00", {}, {"finding", "blind", "reads-again"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    SimPortDesktop desk{c.start};
    configureTargets();
    watchThroughFindingBlindnessAndAlert(desk);
    desk.advance(1min);

    EXPECT_EQ(kindsAccepted(desk, kMailServer), c.mailbox);
    EXPECT_EQ(kindsAccepted(desk, kWebhook), c.webhook);
    const auto alert = journalRowsOf(desk, journal::event::kAlert);
    ASSERT_EQ(alert.size(), 1u);
    for (const SimDelivery& sent : desk.delivery().tries()) {
      if (kindOf(sent.message) != "alert") continue;
      EXPECT_TRUE(sent.message.text.contains(alert[0].summary)) << sent.message.text.toStdString();
      EXPECT_TRUE(sent.message.subject.contains("1108"));
    }
    EXPECT_EQ(desk.delivery().tries().size(),
              static_cast<std::size_t>(c.mailbox.size() + c.webhook.size()))
        << "nothing sent twice";
  }
}

// The webhook refuses an alert's POST for a while; the program is ended after two tries and
// started again: the receiver takes the alert once, under the id it had from the first try.
TEST(RemoteNotification, AFailedSendIsTriedAgainAfterGrowingDelaysAcrossARestartAndTakenOnce) {
  QTemporaryDir home;
  QString firstId;
  {
    SimPortDesktop desk{"2026-12-08 10:00:00", home.path()};
    configureTargets();
    BoardMonitor& wharf = watchWharf(desk);
    desk.delivery().refuse(kWebhook, 10);
    ASSERT_TRUE(desk.sites().board().setBerthTime("1108", "YM HARMONY", "23:45"));
    desk.advance(66s);
    ASSERT_TRUE(wharf.isAlerting());
    desk.advance(95s);  // tried at once, 30 s later and 60 s after that
    const auto& tries = desk.delivery().tries();
    std::vector<qint64> gaps;
    for (const SimDelivery& sent : tries) {
      if (sent.target.address != kWebhook) continue;
      if (firstId.isEmpty()) firstId = sent.message.id;
      EXPECT_EQ(sent.message.id, firstId);
      gaps.push_back(sent.at.toSecsSinceEpoch());
    }
    ASSERT_EQ(gaps.size(), 3u);
    EXPECT_EQ(gaps[1] - gaps[0], 30);
    EXPECT_EQ(gaps[2] - gaps[1], 60);
    EXPECT_EQ(kindsAccepted(desk, kMailServer), QStringList{"alert"});
    EXPECT_TRUE(desk.delivery().accepted(kWebhook).empty());
  }
  SimPortDesktop desk{"2026-12-08 10:05:00", home.path()};
  desk.delivery().refuse(kWebhook, 1);
  ConsoleWindow& console = startConsole(desk);
  desk.advance(1min);
  EXPECT_TRUE(desk.delivery().accepted(kWebhook).empty()) << "not before its time";
  desk.advance(5min);
  const auto taken = desk.delivery().accepted(kWebhook);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].id, firstId);
  EXPECT_EQ(kindOf(taken[0]), "alert");
  EXPECT_TRUE(desk.delivery().accepted(kMailServer).empty()) << "delivered in the first run";
  EXPECT_TRUE(console.journal().deliveryQueue().empty());
  desk.advance(1h);
  EXPECT_EQ(desk.delivery().accepted(kWebhook).size(), 1u);
}
