// tidex-bench-soak: 20 monitors for two hours of virtual time on the simulated desktop, with
// the board's and the IMCT service's faults switched on and off, and prints what a long run
// must not show: findings lost, false alerts, missed alerts, handlers still suspended.
//   tidex-bench-soak [--hours H=2]
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "../tests/sim_port_desktop.h"
#include "common/settings/settings.h"
#include "common/text/text_codec.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "sites/pilot_roster.h"

using namespace tidex;
using namespace std::chrono_literals;
using sites::Fault;
using sites::Service;

namespace {

const std::vector<Fault> kFaults{Fault::ServerError,  Fault::NotFound,  Fault::Refused,
                                 Fault::Never,        Fault::Download,  Fault::RedirectLoop,
                                 Fault::RedirectAway, Fault::CutOff,    Fault::Huge,
                                 Fault::ManyElements, Fault::DialogLoop};

// A change of one call at a minute of the run, and the monitors it must alert.
struct BoardChange {
  int minute;
  const char* wharf;
  const char* vessel;
  std::set<QString> alerts;  // captions of the monitors that must alert
};

Form* windowOf(SimDesktop& desk, const QString& caption) {
  for (Form* window : desk.windows().all()) {
    if (!window->isUnloaded() && window->Caption() == caption) return window;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int hours = 2;
  const QStringList args = app.arguments();
  if (args.size() == 3 && args[1] == u"--hours") hours = std::max(1, args[2].toInt());
  QElapsedTimer real;
  real.start();

  SimPortDesktop desk;
  for (const auto& [number, name] : sites::KnownPilots()) WriteSetting("pilots", number, name);
  WriteSetting("setup", "001", EncodeText("TIDEX"));
  WriteSetting("setup", "002", EncodeText("PASS"));
  ConsoleWindow& console = desk.start<ConsoleWindow>();
  const QStringList wharves{"1108", "1110", "1070", "2001", "2002", "2003"};
  const QStringList vessels{"YM HARMONY", "WAN HAI 316", "EVER LAUREL", "KMTC TAIPEI"};
  QStringList numbers;
  for (int i = 1; i <= 10; ++i) numbers << QStringLiteral("REG%1").arg(i, 2, 10, QLatin1Char('0'));
  for (const QString& wharf : wharves) {
    desk.type(console.wharfField, wharf);
    desk.click(console.wharfButton);
  }
  for (const QString& vessel : vessels) {
    desk.type(console.vesselField, vessel);
    desk.click(console.vesselButton);
  }
  for (const QString& number : numbers) {
    desk.type(console.registrationField, number);
    desk.click(console.registrationButton);
  }
  desk.advance(10s);

  const std::vector<BoardChange> changes{
      {20, "1108", "YM HARMONY", {"1108", "YM HARMONY"}},
      {55, "1110", "KMTC TAIPEI", {"1110", "KMTC TAIPEI"}},
      {95, "1070", "TS KEELUNG", {"1070"}},
  };
  std::map<int, QString> findings;  // minute -> number found from then on
  for (int i = 0; i < numbers.size(); ++i) findings[7 + 11 * i] = numbers[i];

  // Every ten minutes a fault for five, on the board and the IMCT service by turns.
  const int minutes = hours * 60;
  std::size_t faultIndex = 0;
  for (int minute = 0; minute < minutes; ++minute) {
    if (minute % 10 == 3) {
      const Service service = (minute / 10) % 2 ? Service::Imct : Service::Board;
      desk.sites().setFault(service, kFaults[faultIndex++ % kFaults.size()]);
    }
    if (minute % 10 == 8) desk.sites().clearFaults();
    for (const BoardChange& change : changes) {
      if (change.minute == minute) {
        desk.sites().board().setBerthTime(change.wharf, change.vessel, "23:45");
      }
    }
    if (const auto found = findings.find(minute); found != findings.end()) {
      desk.sites().imct().setFinding(found->second, {"YM HARMONY", 5, 1});
    }
    desk.advance(1min);
  }
  desk.sites().clearFaults();
  desk.advance(6min);  // the last reloads and queries after the last fault

  std::set<QString> expected;
  for (const BoardChange& change : changes) {
    if (change.minute < minutes) expected.insert(change.alerts.begin(), change.alerts.end());
  }
  int falseAlerts = 0;
  int missedAlerts = 0;
  for (const QString& caption : wharves + vessels) {
    auto* monitor = dynamic_cast<BoardMonitor*>(windowOf(desk, caption));
    const bool alerted = monitor && monitor->isAlerting();
    const bool due = expected.contains(caption);
    falseAlerts += alerted && !due;
    missedAlerts += due && !alerted;
    if (alerted != due)
      std::printf("  %s: %s\n", qPrintable(caption), alerted ? "alerted" : "silent");
  }
  int lost = 0;
  for (const auto& [minute, number] : findings) {
    if (minute >= minutes) continue;
    if (ReadSetting("Touchfiles", number, "") != u"1") {
      ++lost;
      std::printf("  %s: found at minute %d, not recorded\n", qPrintable(number), minute);
    }
  }
  std::printf("monitors: %lld board, %lld registration; %d h virtual in %.1f s real\n",
              static_cast<long long>(wharves.size() + vessels.size()),
              static_cast<long long>(numbers.size()), hours, real.elapsed() / 1000.0);
  std::printf("faults switched: %zu\n", faultIndex);
  std::printf("findings lost: %d\n", lost);
  std::printf("false alerts: %d\n", falseAlerts);
  std::printf("missed alerts: %d\n", missedAlerts);
  std::printf("handlers still suspended: %zu\n", desk.suspendedHandlers());
  std::printf("pages pending: %zu\n", desk.stalledPages().size());
  return lost || falseAlerts || missedAlerts ? 1 : 0;
}
