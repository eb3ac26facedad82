// A notification target that cannot deliver is seen, and it never holds up the others or the new
// messages: the user has a mailbox and a webhook in Tidex.ini; the mailbox refuses.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "test_printers.h"

#include "common/remote/remote_targets.h"
#include "console/monitor_status_window.h"
#include "console/settings_window.h"
#include "scenario/journal_rows.h"
#include "sites/board_service.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const QString kMailServer = QStringLiteral("smtps://mail.harbour.test:465");
const QString kWebhook = QStringLiteral("https://hooks.harbour.test/tidex");

QJsonObject bodyOf(const DeliveryMessage& message) {
  return QJsonDocument::fromJson(message.json).object();
}

QStringList kindsTaken(SimDesktop& desk, const QString& address) {
  QStringList kinds;
  for (const DeliveryMessage& message : desk.delivery().accepted(address)) {
    kinds << bodyOf(message).value("kind").toString();
  }
  return kinds;
}

// The mailbox and the webhook, both told of alerts and of each other's failures.
class FailingTarget : public ::testing::Test {
 protected:
  FailingTarget() {
    RemoteTarget phone;
    phone.name = QStringLiteral("phone");
    phone.delivery.kind = DeliveryTarget::Kind::Email;
    phone.delivery.address = kMailServer;
    phone.delivery.sender = QStringLiteral("tidex@harbour.test");
    phone.delivery.recipients = {QStringLiteral("duty@harbour.test")};
    phone.events = {RemoteEventGroup::Alert, RemoteEventGroup::Delivery};
    RemoteTarget hook;
    hook.name = QStringLiteral("hook");
    hook.delivery.address = kWebhook;
    hook.events = phone.events;
    EXPECT_TRUE(WriteRemoteTarget(phone));
    EXPECT_TRUE(WriteRemoteTarget(hook));
    wharf_ = &watchWharf(desk_);
  }

  void alert(const QString& time) {
    ASSERT_TRUE(desk_.sites().board().setBerthTime("1108", "YM HARMONY", time));
    desk_.advance(66s);
    ASSERT_TRUE(wharf_->isAlerting());
    desk_.clickMenu(wharf_->stopBeepMenu);
  }

  QStringList statusRow(const QString& caption) {
    consoleOf(desk_).openStatusWindow();
    for (const QStringList& row :
         windowCaptioned<MonitorStatusWindow>(desk_, MonitorStatusWindow::WindowCaption())
             .statusList.Rows()) {
      if (row.value(0) == caption) return row;
    }
    return {};
  }

  SimPortDesktop desk_;
  BoardMonitor* wharf_ = nullptr;
};

}  // namespace

// The mailbox refuses every message for good: each is given up after three tries and kept in
// the journal; a new alert is still tried at once; after five failed tries the user is told
// once (desktop, journal, the webhook), and 監看狀態 and 設定 say since when and why in Chinese.
TEST_F(FailingTarget, ARefusingTargetIsSeenItsMessagesGivenUpAndNewOnesStillTriedFirst) {
  desk_.delivery().refuse(kMailServer, 1000, true);
  alert("23:45");
  desk_.advance(2min);  // tried at once, after 30 s and after 60 s more
  const auto givenUp = journalRowsOf(desk_, journal::event::kUndelivered);
  ASSERT_EQ(givenUp.size(), 1u);
  EXPECT_EQ(givenUp[0].caption, "phone");
  EXPECT_TRUE(givenUp[0].after.contains("14:30 → 23:45")) << "its text kept";
  EXPECT_TRUE(journalRowsOf(desk_, journal::event::kTargetFailing).empty());

  const std::size_t before = desk_.delivery().tries().size();
  // Another monitor's alert, as the journal records it.
  consoleOf(desk_).journal().record("1109", journal::kind::kWharf, journal::event::kAlert,
                                    "EVER GIVEN　抵港時間 10:00 → 11:00");
  desk_.advance(1s);
  const auto& tries = desk_.delivery().tries();
  EXPECT_TRUE(std::any_of(tries.begin() + static_cast<std::ptrdiff_t>(before), tries.end(),
                          [](const SimDelivery& t) { return t.target.address == kMailServer; }))
      << "the new alert goes at once, not after the back-off";
  desk_.advance(10min);

  const auto failing = journalRowsOf(desk_, journal::event::kTargetFailing);
  ASSERT_EQ(failing.size(), 1u);
  EXPECT_EQ(failing[0].caption, "phone");
  EXPECT_EQ(std::count_if(desk_.notifications().begin(), desk_.notifications().end(),
                          [](const SimNotification& n) { return n.text.contains("phone"); }),
            1);
  EXPECT_EQ(kindsTaken(desk_, kWebhook), (QStringList{"alert", "alert", "target-failing"}));
  EXPECT_TRUE(statusRow("phone").value(2).contains("起無法傳送"));
  EXPECT_TRUE(statusRow("phone").value(2).contains("伺服器拒收（代碼 550）"));
}

// The user mends the mailbox in 設定: its waiting message is tried at once, not after the
// back-off, it delivers, and the user and the webhook hear that it is back.
TEST_F(FailingTarget, AMendedTargetIsTriedAtOnceAndItsReturnIsTold) {
  desk_.delivery().refuse(kMailServer, 6);  // for now: no connection
  alert("23:45");
  desk_.advance(20min);  // 6 tries: told
  ASSERT_EQ(journalRowsOf(desk_, journal::event::kTargetFailing).size(), 1u);
  ASSERT_TRUE(desk_.delivery().accepted(kMailServer).empty());

  desk_.trayDoubleClick();
  desk_.clickMenu(consoleOf(desk_).settingsMenu);
  auto& settings = windowCaptioned<SettingsWindow>(desk_, SettingsWindow::WindowCaption());
  ASSERT_TRUE(desk_.select(settings.targetList, 0));
  EXPECT_TRUE(settings.targetList.Rows()[0].value(4).contains("無法連線到伺服器"));
  desk_.click(settings.saveTargetButton);
  desk_.advance(10s);

  EXPECT_EQ(kindsTaken(desk_, kMailServer), QStringList{"alert"});
  EXPECT_EQ(journalRowsOf(desk_, journal::event::kTargetDelivers).size(), 1u);
  EXPECT_EQ(kindsTaken(desk_, kWebhook), (QStringList{"alert", "target-failing", "target-back"}));
  desk_.advance(3s);
  EXPECT_TRUE(settings.targetList.Rows()[0].value(4).contains("已送達"));
}

// What the webhook gets: its Idempotency-Key is the body's id, and before/after are the board's
// lines as the page showed them, as the change log shows them.
TEST_F(FailingTarget, TheWebhookGetsTheBodysIdAndThePagesLines) {
  alert("23:45");
  const auto taken = desk_.delivery().accepted(kWebhook);
  ASSERT_EQ(taken.size(), 1u);
  const QJsonObject body = bodyOf(taken[0]);
  EXPECT_EQ(taken[0].id, body.value("id").toString());
  const auto alertRow = journalRowsOf(desk_, journal::event::kAlert).at(0);
  EXPECT_EQ(body.value("before").toString(), alertRow.pageBefore);
  EXPECT_EQ(body.value("after").toString(), alertRow.pageAfter);
  EXPECT_FALSE(body.value("before").toString().contains('\t'));
}
