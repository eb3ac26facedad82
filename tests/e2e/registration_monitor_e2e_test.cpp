#include <gtest/gtest.h>

#include <thread>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "console_session.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

// The half-hourly batch of the real program launches a registration monitor for a number the
// IMCT service answers with counts: each finding is recorded and exactly one mail form goes out
// per finding.
TEST(ProgramEndToEnd,
     HalfHourlyBatchOpensRegistrationMonitorsThatRecordFindingsAndMailOncePerFinding) {
  ConsoleSession session;
  const SitesRunner& sites = session.sites;
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(WriteKnownAccount(session.home.path()));
  ASSERT_EQ(httpSend(sites.base(), "POST", "/_control/maker/batch-list", "CHECK\n01VXXX\n01VYYY\n")
                .status,
            200);
  ASSERT_TRUE(sites.control(
      "/_control/imct/found?regno=01VXXX&vessel=%20YM%20HARMONY%20&laden=12&empty=3"));
  ASSERT_TRUE(sites.control(
      "/_control/imct/found?regno=01VYYY&vessel=%20WAN%20HAI%20316%20&laden=4&empty=0"));
  ASSERT_TRUE(sites.control("/_control/mail/form-again?on=1"));

  qputenv("COMPUTERNAME", "HARBOUR-PC");
  // The list is fetched at 10:29:00.
  ASSERT_TRUE(session.startHidden(ProgramClock::from("2026-12-08 10:28:55"))) << session.failure();

  const auto bothFound = [&] {
    const QByteArray ini = readFile(session.home.filePath("Tidex.ini"));
    return ini.contains("01VXXX=1\r\n") && ini.contains("01VYYY=1\r\n");
  };
  ASSERT_TRUE(waitUntil(bothFound, 60s)) << session.program.output().data();
  const QByteArray ini = readFile(session.home.filePath("Tidex.ini"));
  EXPECT_TRUE(ini.contains("[TouchfilesTime]\r\n01VXXX=2026/12/08 10:29:")) << ini.data();

  const auto submissions = [&] {
    return QJsonDocument::fromJson(httpGet(sites.base() + "/_control/mail/submissions")).array();
  };
  ASSERT_TRUE(waitUntil([&] { return submissions().size() >= 2; }, 30s));
  std::this_thread::sleep_for(5s);  // the thanks page offers the form again: nothing more goes
  const QJsonArray mails = submissions();
  ASSERT_EQ(mails.size(), 2);
  QStringList names;
  for (const QJsonValue& mail : mails) {
    names << mail["name"].toString();
    EXPECT_EQ(mail["mail"].toString(), "HARBOUR-PC");
  }
  names.sort();
  EXPECT_EQ(names, (QStringList{"01VXXX  YM HARMONY ", "01VYYY  WAN HAI 316 "}));
  for (const QJsonValue& mail : mails) {
    if (mail["name"].toString().contains("YM HARMONY")) {
      EXPECT_TRUE(mail["namea"].toString().contains("YM HARMONY"))
          << mail["namea"].toString().toStdString();
    }
  }
  session.stop();
}
