// The maker's mail service does not take a finding's notification for a while: the
// notification stays pending, is sent again, and is accepted exactly once.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "test_printers.h"

#include "monitors/registration/registration_monitor.h"
#include "platform/journal_reader.h"
#include "scenario/scenario_helpers.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

const QString kNumber = QStringLiteral("01VXXX");
const QString kStart = QStringLiteral("2026-12-08 10:00:00");

// How the mail service lets the sender down.
struct MailTrouble {
  const char* what;
  Fault fault;
  const char* match;  // the requests that meet the fault
  std::chrono::milliseconds networkDelay;
};

void troubleMail(SimPortDesktop& desk, const MailTrouble& trouble) {
  desk.sites().setFault(Service::Maker, trouble.fault, trouble.match);
  desk.setNetworkDelay(trouble.networkDelay);
}

void healMail(SimPortDesktop& desk) {
  desk.sites().setFault(Service::Maker, Fault::None);
  desk.setNetworkDelay(200ms);
}

// The journal's notification entries of the number: one per form the service accepted.
int notificationsJournaled(SimDesktop& desk) {
  const journal::Reading reading = journal::ReadJournal(
      desk.applicationFolder() + QLatin1Char('/') + QString::fromUtf8(journal::kFileName),
      {kNumber, QString()});
  int count = 0;
  for (const journal::Entry& entry : reading.entries) count += entry.event == u"notification";
  return count;
}

enum class Meanwhile { MonitorStaysOpen, MonitorClosed, ProgramRestarted };

const char* nameOf(Meanwhile meanwhile) {
  switch (meanwhile) {
    case Meanwhile::MonitorStaysOpen:
      return "monitor stays open";
    case Meanwhile::MonitorClosed:
      return "monitor closed";
    case Meanwhile::ProgramRestarted:
      return "program restarted";
  }
  return "";
}

}  // namespace

// A number is found at 10:00 while the mail service fails until 10:10 (or answers slowly);
// meanwhile the user closes the found monitor, or the program is ended and started again. The
// service ends up with one accepted form, the journal says so once, nothing stays pending.
TEST(FoundNotification, AMailServiceFailingForTenMinutesThenAcceptingGetsExactlyOneForm) {
  const MailTrouble troubles[] = {
      {"HTTP 500", Fault::ServerError, "/pda/mail.php", 200ms},
      {"HTTP 404", Fault::NotFound, "/pda/mail.php", 200ms},
      {"refused", Fault::Refused, "/pda/mail.php", 200ms},
      {"never answers", Fault::Never, "/pda/mail.php", 200ms},
      {"form shown, submission fails", Fault::ServerError, "submit=", 200ms},
      {"every answer slow", Fault::None, "", 20s},
  };
  for (const MailTrouble& trouble : troubles) {
    for (const Meanwhile meanwhile :
         {Meanwhile::MonitorStaysOpen, Meanwhile::MonitorClosed, Meanwhile::ProgramRestarted}) {
      SCOPED_TRACE(std::string(trouble.what) + ", " + nameOf(meanwhile));
      const bool fails = trouble.fault != Fault::None;
      QTemporaryDir home;
      std::size_t accepted = 0;
      {
        SimPortDesktop desk{kStart, home.path()};
        troubleMail(desk, trouble);
        desk.sites().imct().setFinding(kNumber, {" YM HARMONY ", 12, 3});
        saveKnownAccount();
        ConsoleWindow& console = startConsole(desk);
        typeAndClick(desk, console.registrationField, kNumber, console.registrationButton);
        RegistrationMonitor& monitor = windowCaptioned<RegistrationMonitor>(desk, kNumber);
        desk.advance(2min);
        ASSERT_TRUE(monitor.isAlerting());  // found
        if (fails) {
          EXPECT_TRUE(monitor.monitorStatus().notificationPending);
        }

        if (meanwhile == Meanwhile::MonitorClosed) desk.closeBox(monitor);
        if (meanwhile == Meanwhile::ProgramRestarted) {
          desk.advance(1min);
        } else {
          desk.advance(8min);
          healMail(desk);
          desk.advance(15min);
          EXPECT_TRUE(console.journal().pendingNotifications().all().empty());
          if (meanwhile == Meanwhile::MonitorStaysOpen) {
            EXPECT_FALSE(monitor.monitorStatus().notificationPending);
          }
        }
        accepted += desk.sites().mail().submissions().size();
        EXPECT_EQ(notificationsJournaled(desk), static_cast<int>(accepted));
      }
      if (meanwhile == Meanwhile::ProgramRestarted) {
        SimPortDesktop desk{"2026-12-08 10:03:00", home.path()};
        troubleMail(desk, trouble);
        ConsoleWindow& console = startConsole(desk);
        desk.advance(7min);
        healMail(desk);
        desk.advance(15min);
        EXPECT_TRUE(console.journal().pendingNotifications().all().empty());
        const auto& mails = desk.sites().mail().submissions();
        if (!mails.empty()) {
          EXPECT_EQ(sites::FieldValue(mails[0], "name"), "01VXXX  YM HARMONY ");
        }
        accepted += mails.size();
        EXPECT_EQ(notificationsJournaled(desk), static_cast<int>(accepted));
      }
      EXPECT_EQ(accepted, 1u);
    }
  }
}
