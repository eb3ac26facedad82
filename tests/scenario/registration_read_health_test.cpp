// The registration monitor's query goes unanswered: it keeps asking, says why beneath its page
// once three query periods have passed without an answer, and records that and its recovery
// once each. A query page that could not be read changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "test_printers.h"

#include "monitors/registration/registration_monitor.h"
#include "platform/journal_reader.h"
#include "platform/journal_schema.h"
#include "scenario/scenario_helpers.h"
#include "sites/imct_site_pages.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

const QString kNumber = QStringLiteral("ABC123");

// The console with the account the service knows, and a monitor on kNumber opened at 10:00:00
// whose first query has been answered with no data.
RegistrationMonitor& watchNumber(SimDesktop& desk) {
  saveKnownAccount();
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.registrationField, kNumber, console.registrationButton);
  desk.advance(5s);
  return windowCaptioned<RegistrationMonitor>(desk, kNumber);
}

int journalRows(const char* event) {
  const journal::Reading reading = journal::ReadJournal(journal::JournalPath(), {kNumber, {}});
  return static_cast<int>(std::count_if(reading.entries.begin(), reading.entries.end(),
                                        [&](const journal::Entry& e) { return e.event == event; }));
}

QString noDataTime() { return ReadSetting("NoTouchfilesTime", kNumber, ""); }

}  // namespace

TEST(RegistrationReadHealth,
     ThreeUnansweredQueryPeriodsMakeTheMonitorBlindAndItsRecoveryIsToldOnce) {
  const QByteArray loginCheck = "/APIMCT/pages/LoginCheck.jsp";
  struct Case {
    const char* what;
    std::function<void(sites::PortSites&)> fail;
    std::function<void(sites::PortSites&)> recover;
    QString reason;
  };
  const Case cases[] = {
      {"500 on every page", [](auto& s) { s.setFault(Service::Imct, Fault::ServerError); },
       [](auto& s) { s.setFault(Service::Imct, Fault::None); }, "HTTP 500"},
      {"no answer", [](auto& s) { s.setFault(Service::Imct, Fault::Never); },
       [](auto& s) { s.setFault(Service::Imct, Fault::None); }, "沒有回應"},
      {"the login page comes back",
       [&](auto& s) {
         s.imct().expireSessions();
         s.addPage(loginCheck, {200, "text/html; charset=big5", sites::imct_pages::Login()});
       },
       [&](auto& s) { s.removePage(loginCheck); }, "無法登入"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimPortDesktop desk;
    RegistrationMonitor& monitor = watchNumber(desk);
    const QString answeredAt = noDataTime();
    c.fail(desk.sites());

    desk.advance(1195s);  // 10:20:00: the queries of 10:05, 10:10 and 10:15 went unanswered
    EXPECT_FALSE(monitor.blindLine.Visible());
    EXPECT_EQ(journalRows(journal::event::kBlind), 0);
    desk.advance(5s);  // the third period without an answer has ended
    const QString line = monitor.blindLine.Caption();
    EXPECT_TRUE(monitor.blindLine.Visible());
    EXPECT_TRUE(line.startsWith("無法查詢 IMCT：" + c.reason + " (自 10:")) << line.toStdString();
    EXPECT_EQ(monitor.blindLine.accessibleName(), line);
    EXPECT_EQ(monitor.monitorStatus().state, MonitorStatus::State::Blind);
    EXPECT_EQ(monitor.monitorStatus().blindLine, line);
    EXPECT_EQ(journalRows(journal::event::kBlind), 1);
    ASSERT_EQ(desk.notifications().size(), 1u);
    EXPECT_EQ(desk.notifications()[0].text, line);

    desk.advance(15min);  // still asking, told no more
    EXPECT_TRUE(monitor.pollTimer.Enabled());
    EXPECT_EQ(journalRows(journal::event::kBlind), 1);
    EXPECT_EQ(desk.notifications().size(), 1u);
    EXPECT_EQ(noDataTime(), answeredAt) << "nothing recorded from a page that was no answer";
    EXPECT_TRUE(desk.beeps().empty());
    EXPECT_TRUE(desk.boxes().empty());

    c.recover(desk.sites());
    desk.advance(301s);
    EXPECT_NE(noDataTime(), answeredAt) << "answered again";
    EXPECT_FALSE(monitor.blindLine.Visible());
    EXPECT_EQ(monitor.monitorStatus().state, MonitorStatus::State::Watching);
    desk.advance(301s);
    EXPECT_EQ(journalRows(journal::event::kReadsAgain), 1);
    EXPECT_EQ(desk.notifications().size(), 1u);
  }
}

// The renderer dies while a query is under way, the number having been found meanwhile: the page
// that could not be read is neither an answer nor the lack of one, and the next query finds it.
TEST(RegistrationReadHealth, AQueryPageThatCouldNotBeReadRecordsNothing) {
  for (const auto underWay : {100ms, 300ms}) {  // the query page, then the answer
    SCOPED_TRACE(underWay.count());
    SimPortDesktop desk;
    RegistrationMonitor& monitor = watchNumber(desk);
    const QString lastPage = monitor.lastPageText();
    const QString answeredAt = noDataTime();
    desk.sites().imct().setFinding(kNumber, {"YM HARMONY", 12, 3});

    desk.advance(296s + underWay);  // the query of 10:05:01 is under way
    ASSERT_TRUE(monitor.pageBrowser.Busy());
    desk.killRenderers();
    desk.advance(10s);
    EXPECT_EQ(monitor.lastPageText(), lastPage);
    EXPECT_EQ(noDataTime(), answeredAt);
    EXPECT_EQ(ReadSetting("Touchfiles", kNumber, ""), "0");
    EXPECT_EQ(journalRows(journal::event::kFound), 0);
    EXPECT_TRUE(monitor.pollTimer.Enabled());

    desk.advance(301s);
    EXPECT_EQ(ReadSetting("Touchfiles", kNumber, ""), "1");
    EXPECT_EQ(journalRows(journal::event::kFound), 1);
  }
}
