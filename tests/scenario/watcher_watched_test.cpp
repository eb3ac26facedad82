// The agent at home hears of the desk computer itself: the program's start (and how its last
// run ended) and its end reach a webhook, and a summary of the day before comes each morning.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "test_printers.h"

#include "common/journal/journal.h"
#include "common/remote/remote_targets.h"
#include "scenario/journal_rows.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

namespace {

const QString kWebhook = QStringLiteral("https://hooks.harbour.test/tidex");

void keepWebhook(const std::set<RemoteEventGroup>& events, const QString& summary = {}) {
  RemoteTarget hook;
  hook.name = QStringLiteral("home");
  hook.delivery.address = kWebhook;
  hook.events = events;
  hook.summary = summary;
  ASSERT_FALSE(CheckRemoteTarget(hook));
  ASSERT_TRUE(WriteRemoteTarget(hook));
}

// What the webhook took, kind and text.
std::vector<std::pair<QString, QString>> taken(SimDesktop& desk) {
  std::vector<std::pair<QString, QString>> all;
  for (const DeliveryMessage& message : desk.delivery().accepted(kWebhook)) {
    all.emplace_back(QJsonDocument::fromJson(message.json).object().value("kind").toString(),
                     message.subject + QLatin1Char('\n') + message.text);
  }
  return all;
}

void endFromTheMenu(SimDesktop& desk) {
  desk.trayDoubleClick();
  desk.clickMenu(consoleOf(desk).endProgramMenu);
  desk.answer(BoxResult::Yes);
  desk.advance(5s);
  ASSERT_TRUE(desk.ended());
}

}  // namespace

// Three runs: the first ends from the menu, its end sent before it ends; the second is told
// the first ended in order, then dies without an end; the third is told that, and since when.
TEST(WatcherWatched, StartAndEndAreToldOnceEachAndARunThatDiedIsSaid) {
  QTemporaryDir home;
  {
    SimPortDesktop desk{"2026-12-08 10:00:00", home.path()};
    keepWebhook({RemoteEventGroup::Program});
    startConsole(desk);
    desk.advance(2s);
    endFromTheMenu(desk);
    const auto told = taken(desk);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].first, "program-started");
    EXPECT_TRUE(told[0].second.contains("沒有上次執行的紀錄"));
    EXPECT_EQ(told[1].first, "program-ending");
    EXPECT_TRUE(told[1].second.contains("結束程式"));
  }
  {
    SimPortDesktop desk{"2026-12-08 11:30:00", home.path()};
    startConsole(desk).journal().record("1108", journal::kind::kWharf, journal::event::kAlert,
                                        "YM HARMONY　抵港時間 14:30 → 23:45");
    desk.advance(2s);
    const auto told = taken(desk);
    ASSERT_EQ(told.size(), 1u) << "the alert is not among the program's news";
    EXPECT_TRUE(told[0].second.contains("正常結束，已停止 1 小時")) << told[0].second.toStdString();
  }  // the computer loses power
  SimPortDesktop desk{"2026-12-08 14:00:00", home.path()};
  startConsole(desk);
  desk.advance(2s);
  const auto told = taken(desk);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].second.contains("沒有正常結束")) << told[0].second.toStdString();
  EXPECT_TRUE(told[0].second.contains("2026-12-08 11:30")) << "its last sign of life";
}

// The webhook does not answer as the program ends: the program ends all the same within a few
// seconds, and the end goes at the next start, marked late.
TEST(WatcherWatched, AnEndThatCouldNotBeSentGoesLateAtTheNextStart) {
  QTemporaryDir home;
  {
    SimPortDesktop desk{"2026-12-08 10:00:00", home.path()};
    keepWebhook({RemoteEventGroup::Program});
    startConsole(desk);
    desk.advance(2s);
    desk.delivery().refuse(kWebhook, 1);
    desk.terminate();
    desk.advance(RemoteNotifier::kEndWait);
    ASSERT_TRUE(desk.ended());
  }
  SimPortDesktop desk{"2026-12-08 10:10:00", home.path()};
  startConsole(desk);
  desk.advance(2s);
  QStringList kinds;
  for (const auto& [kind, text] : taken(desk)) {
    kinds << kind;
    if (kind == "program-ending") {
      EXPECT_TRUE(text.startsWith("（遲送）")) << text.toStdString();
    }
  }
  kinds.sort();
  EXPECT_EQ(kinds, (QStringList{"program-ending", "program-started"}));
}

// A summary at 08:00: a run started later sends the missed one at once, an empty day in one
// line; the next morning the busy day before in one message, once.
TEST(WatcherWatched, TheDayBeforeComesOnceEachMorningAMissedOneAtTheStart) {
  QTemporaryDir home;
  {
    SimPortDesktop desk{"2026-12-08 10:00:00", home.path()};
    keepWebhook({}, "08:00");
    Journal& journal = startConsole(desk).journal();
    journal.record("1108", journal::kind::kWharf, journal::event::kAlert,
                   "YM HARMONY　抵港時間 14:30 → 23:45");
    desk.advance(1h);
    journal.record("1108", journal::kind::kWharf, journal::event::kBlind, "無法讀取看板");
    desk.advance(20min);
    journal.record("1108", journal::kind::kWharf, journal::event::kReadsAgain, "恢復讀取");
    desk.advance(22h);  // past 08:00 the next morning
    const auto told = taken(desk);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].first, "summary");
    EXPECT_TRUE(told[0].second.contains("2026-12-07 沒有警示")) << told[0].second.toStdString();
    EXPECT_TRUE(told[1].second.contains("每日摘要：2026-12-08"));
    EXPECT_TRUE(told[1].second.contains("監看警示 1 次"));
    EXPECT_TRUE(told[1].second.contains("10:00 1108：YM HARMONY　抵港時間 14:30 → 23:45"));
    EXPECT_TRUE(told[1].second.contains("11:00–11:20 1108"));
    desk.advance(2h);
    EXPECT_EQ(taken(desk).size(), 2u) << "once a day";
  }
  SimPortDesktop desk{"2026-12-10 09:15:00", home.path()};
  startConsole(desk);
  desk.advance(2s);
  const auto told = taken(desk);
  ASSERT_EQ(told.size(), 1u) << "the day missed while it was off";
  EXPECT_TRUE(told[0].second.contains("2026-12-09 沒有警示")) << told[0].second.toStdString();
}

// A dead-man's switch pinged every 5 minutes: at its address while all is well, at its fail
// address while a monitor cannot read, and never after the program ended.
TEST(WatcherWatched, AHeartbeatIsPingedAtItsPeriodAndFailsWhileAMonitorIsBlind) {
  SimPortDesktop desk;
  RemoteTarget heartbeat;
  heartbeat.name = QStringLiteral("deadman");
  heartbeat.delivery.kind = DeliveryTarget::Kind::Heartbeat;
  heartbeat.delivery.address = QStringLiteral("https://hc-ping.harbour.test/0f1e");
  heartbeat.failSuffix = QStringLiteral("/fail");
  ASSERT_FALSE(CheckRemoteTarget(heartbeat));
  ASSERT_TRUE(WriteRemoteTarget(heartbeat));
  const auto pings = [&] {
    QStringList addresses;
    for (const SimDelivery& sent : desk.delivery().tries()) {
      addresses << sent.target.address.section(QLatin1Char('/'), 3);
    }
    return addresses;
  };

  watchWharf(desk);
  desk.advance(10min);
  EXPECT_EQ(pings(), (QStringList{"0f1e", "0f1e", "0f1e"}));
  EXPECT_TRUE(desk.delivery().tries().back().message.text.contains("監看 1 個"));

  desk.sites().setFault(sites::Service::Board, sites::Fault::ServerError);
  desk.advance(15min);
  ASSERT_EQ(journalRowsOf(desk, journal::event::kBlind).size(), 1u);
  EXPECT_EQ(pings().last(), "0f1e/fail");
  EXPECT_TRUE(desk.delivery().tries().back().message.text.contains("無法讀取 1"));
  desk.sites().setFault(sites::Service::Board, sites::Fault::None);
  desk.advance(6min);
  EXPECT_EQ(pings().last(), "0f1e");

  const auto before = pings().size();
  desk.terminate();
  desk.advance(10min);
  EXPECT_TRUE(desk.ended());
  EXPECT_EQ(pings().size(), before) << "none after the end";
}
