// tidex-bench-soak-real: the long run of the real program. Starts tidex-sites and, in a fresh
// TIDEX_HOME, the program's windows in this process (Qt back end, offscreen): 5 wharf and 5
// vessel monitors, and 10 registration monitors through the console's batch of the remote
// list. For most of the run a fault of every kind in turn is switched on for 40 s on the board
// and the IMCT service together; between the faults the board changes and numbers are found.
// Then the board alone fails for 7 minutes, long enough that every board monitor still watching
// must say it cannot read it. The rest of the run is clean, longer than a registration
// monitor's query period. Prints what a long run must not show (findings lost, false alerts,
// missed alerts, seconds of blindness not reported, monitors still blind, notifications still
// pending, handlers still suspended) and the memory of the program and its browser processes after
// warm-up and at the end; exits non-zero on anything lost, missed, unreported or falsely alerted.
//   tidex-bench-soak-real [--minutes M=27] [--faults KIND,KIND,...]   (M at least 17; every
//   kind of tidex-sites by default)
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "../tests/e2e/program_runner.h"
#include "bench_home.h"
#include "common/settings/settings.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/qt/qt_browser_environment.h"
#include "platform/qt/qt_desktop.h"
#include "process_memory.h"

using namespace tidex;

namespace {

const QStringList kAllFaults{"500",      "404",           "refused",       "never",
                             "download", "redirect-loop", "redirect-away", "cut-off",
                             "huge",     "many-elements", "dialogs"};
constexpr int kFaultCycleS = 60;  // a fault for 40 s, then 20 s without
constexpr int kFaultOnS = 40;
constexpr int kFaultsFromS = 30;
constexpr int kCleanTailS = 450;  // the registration monitors query every 300 s
constexpr int kOutageS = 420;     // the board fails for longer than five reloads
// From the outage's start, by when a board monitor must have said it is blind: five reloads
// without the board, the reload that was due, and a little slack.
constexpr int kBlindDeadlineS = 5 * 60 + 60 + 30;
constexpr int kWarmUpS = 180;  // three reloads of every board monitor after it was ready

const QStringList kWharves{"1108", "1110", "1070", "2001", "2002"};
const QStringList kVessels{"YM HARMONY", "KMTC TAIPEI", "TS KEELUNG", "EVER LAUREL", "WAN HAI 316"};

// A change of one call, as a share of the faulted part of the run, and the monitors it must
// alert (a monitor alerts once: after that it waits for the user).
struct BoardChange {
  double at;
  QString wharf;
  QString vessel;
  QStringList alerts;
};
const std::vector<BoardChange> kChanges{
    {0.2, "1108", "YM HARMONY", {"1108", "YM HARMONY"}},
    {0.55, "1110", "KMTC TAIPEI", {"1110", "KMTC TAIPEI"}},
    {0.9, "1070", "TS KEELUNG", {"1070", "TS KEELUNG"}},
    {1.3, "1108", "EVER LAUREL", {"EVER LAUREL"}},  // in the clean tail
};

void say(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

class Soak {
 public:
  // done is called with the exit status once the figures are out.
  Soak(const e2e::SitesRunner& sites, QStringList numbers, int minutes, QStringList faults,
       std::function<void(int)> done)
      : faults_(std::move(faults)),
        sites_(sites),
        runS_(minutes * 60),
        faultsUntilS_(runS_ - kCleanTailS - kOutageS),
        numbers_(std::move(numbers)) {
    done_ = std::move(done);
  }

  void start() {
    console_ = &desktop_.load<ConsoleWindow>();
    clock_.start();
    for (const QString& wharf : kWharves) {
      console_->wharfField.setText(wharf);
      console_->launchMonitor(MonitorKindOf(QStringLiteral("wharf")));
    }
    for (const QString& vessel : kVessels) {
      console_->vesselField.setText(vessel);
      console_->launchMonitor(MonitorKindOf(QStringLiteral("vessel")));
    }
    tick_.setInterval(500ms);  // every second seen once, none skipped
    QObject::connect(&tick_, &QTimer::timeout, [this] { second(); });
    tick_.start();
  }

 private:
  int nowS() const { return static_cast<int>((clock_.elapsed() - readyAt_) / 1000); }

  void control(const QString& pathAndQuery) {
    if (!sites_.control(pathAndQuery)) say("  control refused: " + pathAndQuery);
  }

  // Before the run: every board monitor has its baseline and every registration monitor has
  // had its first answer. A list that did not arrive is fetched again, as the menu would.
  void warmUp() {
    const int waited = static_cast<int>(clock_.elapsed() / 1000);
    int baselines = 0;
    for (Form* window : desktop_.windows().all()) {
      auto* monitor = dynamic_cast<BoardMonitor*>(window);
      baselines += monitor && monitor->hasBaseline();
    }
    int answered = 0;
    for (const QString& number : numbers_) {
      answered += !ReadSetting("NoTouchfilesTime", number, "").isEmpty() ||
                  !ReadSetting("TouchfilesTime", number, "").isEmpty();
    }
    const bool ready =
        baselines == kWharves.size() + kVessels.size() && answered == numbers_.size();
    if (!ready && waited < 300) {
      // Once the board monitors are settled, the remote list, as the menu fetches it: the
      // batch opens a hidden monitor per number, one every 3 s. Fetched again after a minute
      // if no monitor came of it.
      if (baselines == kWharves.size() + kVessels.size() && registrationMonitors() == 0 &&
          waited >= listFetchedAt_ + 60) {
        if (listFetchedAt_ > -60) say(QStringLiteral("%1 s: the list fetched again").arg(waited));
        listFetchedAt_ = waited;
        console_->fetchBatchListNow();
      }
      return;
    }
    say(QStringLiteral("ready after %1 s: %2 baselines, %3 numbers answered")
            .arg(waited)
            .arg(baselines)
            .arg(answered));
    readyAt_ = clock_.elapsed();
    start_ = memory();
    say(QStringLiteral("0 s: %1 processes, PSS %2 MB, USS %3 MB")
            .arg(start_.processes)
            .arg(bench::Megabytes(start_.pssKiB))
            .arg(bench::Megabytes(start_.ussKiB)));
  }

  bench::ProcessMemory memory() const {
    return bench::MemoryOfTree(static_cast<int>(::getpid()), sites_.pid());
  }

  void second() {
    if (readyAt_ < 0) return warmUp();
    const int now = nowS();
    if (now == lastSecond_) return;
    lastSecond_ = now;
    noteAlerts(now);
    noteBlindness(now);
    switchFaults(now);
    for (std::size_t i = 0; i < kChanges.size(); ++i) {
      const BoardChange& change = kChanges[i];
      if (changedAt_.count(i) || now < kFaultsFromS + change.at * (faultsUntilS_ - kFaultsFromS))
        continue;
      changedAt_[i] = now;
      control("/_control/board/time?wharf=" + change.wharf +
              "&vessel=" + QUrl::toPercentEncoding(change.vessel) + "&time=23:45");
      say(QStringLiteral("%1 s: the board moves %2's arrival").arg(now).arg(change.vessel));
    }
    // One number found every so often while the faults come and go.
    const int findingsSpan = faultsUntilS_ - 50 - (kFaultsFromS + 60);
    for (int i = 0; i < numbers_.size(); ++i) {
      if (foundAt_.count(numbers_[i]) ||
          now < kFaultsFromS + 60 + findingsSpan * i / (numbers_.size() - 1))
        continue;
      foundAt_[numbers_[i]] = now;
      control("/_control/imct/found?regno=" + numbers_[i] + "&vessel=YM%20HARMONY&laden=5&empty=1");
    }
    if (now % 60 == 0 && now > 0) {
      const auto current = memory();
      if (now == kWarmUpS) warmedUp_ = current;
      say(QStringLiteral("%1 s: PSS %2 MB, USS %3 MB")
              .arg(now)
              .arg(bench::Megabytes(current.pssKiB))
              .arg(bench::Megabytes(current.ussKiB)));
    }
    // From here on no monitor opens a browser of its own: the memory must stay level.
    if (allFound_.processes == 0 && foundAt_.size() == static_cast<size_t>(numbers_.size()) &&
        std::all_of(numbers_.begin(), numbers_.end(),
                    [](const QString& n) { return ReadSetting("Touchfiles", n, "") == u"1"; })) {
      allFound_ = memory();
      allFoundAt_ = now;
      say(QStringLiteral("%1 s: every number found and recorded, PSS %2 MB, USS %3 MB")
              .arg(now)
              .arg(bench::Megabytes(allFound_.pssKiB))
              .arg(bench::Megabytes(allFound_.ussKiB)));
    }
    if (now >= runS_) finish();
  }

  void switchFaults(int now) {
    if (now == faultsUntilS_) {
      control(QStringLiteral("/_control/faults/board?kind=500"));
      faultOn_ = true;
      say(QStringLiteral("%1 s: the board fails for %2 s").arg(now).arg(kOutageS));
    }
    if (now >= faultsUntilS_ && now < faultsUntilS_ + kOutageS) return;
    if (now < kFaultsFromS || now >= faultsUntilS_) {
      if (faultOn_) clearFaults(now);
      return;
    }
    const int inCycle = (now - kFaultsFromS) % kFaultCycleS;
    if (!faultOn_ && inCycle < kFaultOnS && now - kFaultsFromS >= faultsSwitched_ * kFaultCycleS) {
      const QString kind = faults_[faultsSwitched_ % faults_.size()];
      for (const char* service : {"board", "imct"}) {
        control(QStringLiteral("/_control/faults/%1?kind=%2").arg(service, kind));
      }
      ++faultsSwitched_;
      faultOn_ = true;
      say(QStringLiteral("%1 s: fault %2 on the board and the IMCT service").arg(now).arg(kind));
    } else if (faultOn_ && inCycle >= kFaultOnS) {
      clearFaults(now);
    }
  }

  void clearFaults(int now) {
    control("/_control/faults/reset");
    faultOn_ = false;
    say(QStringLiteral("%1 s: faults off").arg(now));
  }

  int registrationMonitors() {
    int count = 0;
    for (Form* window : desktop_.windows().all()) {
      count += dynamic_cast<RegistrationMonitor*>(window) && !window->isUnloaded();
    }
    return count;
  }

  void noteAlerts(int now) {
    for (Form* window : desktop_.windows().all()) {
      auto* monitor = dynamic_cast<BoardMonitor*>(window);
      if (!monitor || monitor->isUnloaded() || !monitor->isAlerting()) continue;
      if (alertedAt_.emplace(monitor->Caption(), now).second) {
        say(QStringLiteral("%1 s: %2 alerts").arg(now).arg(monitor->Caption()));
      }
    }
  }

  // Each second: which board monitors say they cannot read the board.
  void noteBlindness(int now) {
    for (Form* window : desktop_.windows().all()) {
      auto* monitor = dynamic_cast<BoardMonitor*>(window);
      if (!monitor || monitor->isUnloaded()) continue;
      const bool blind = monitor->monitorStatus().state == MonitorStatus::State::Blind;
      const QString caption = monitor->Caption();
      if (blind && !blindNow_.count(caption)) {
        say(QStringLiteral("%1 s: %2 says %3")
                .arg(now)
                .arg(caption, monitor->monitorStatus().blindLine));
        blindAt_.emplace(caption, now);
        if (now < faultsUntilS_) ++blindOutsideOutage_;
      }
      if (blind) {
        blindNow_.insert(caption);
      } else {
        blindNow_.erase(caption);
      }
      // Watching through the outage's deadline without saying so: each second counts.
      const int deadline = faultsUntilS_ + kBlindDeadlineS;
      if (!blind && now > deadline && now < faultsUntilS_ + kOutageS && !monitor->isAlerting() &&
          !alertedAt_.count(caption)) {
        ++unreportedBlindSeconds_;
      }
    }
  }

  void finish() {
    tick_.stop();
    const auto end = memory();
    std::map<QString, int> dueFrom;  // caption -> second of the change that must alert it
    for (std::size_t i = 0; i < kChanges.size(); ++i) {
      if (!changedAt_.count(i)) continue;
      for (const QString& caption : kChanges[i].alerts) dueFrom.emplace(caption, changedAt_[i]);
    }
    int falseAlerts = 0;
    int missedAlerts = 0;
    int worstDelay = 0;
    for (const QString& caption : kWharves + kVessels) {
      const auto alerted = alertedAt_.find(caption);
      const auto due = dueFrom.find(caption);
      if (alerted != alertedAt_.end() && (due == dueFrom.end() || alerted->second < due->second)) {
        ++falseAlerts;
        say("  false alert: " + caption);
      } else if (due != dueFrom.end() && alerted == alertedAt_.end()) {
        ++missedAlerts;
        say("  missed alert: " + caption);
      } else if (due != dueFrom.end()) {
        worstDelay = std::max(worstDelay, alerted->second - due->second);
      }
    }
    int lost = 0;
    for (const auto& [number, at] : foundAt_) {
      if (ReadSetting("Touchfiles", number, "") == u"1") continue;
      ++lost;
      say(QStringLiteral("  %1: found at %2 s, not recorded").arg(number).arg(at));
    }
    const auto mails =
        QJsonDocument::fromJson(e2e::httpGet(sites_.base() + "/_control/mail/submissions"));

    say(QStringLiteral("\nmonitors: %1 wharf, %2 vessel, %3 registration; %4 min real time")
            .arg(kWharves.size())
            .arg(kVessels.size())
            .arg(numbers_.size())
            .arg(runS_ / 60));
    say(QStringLiteral("faults switched: %1").arg(faultsSwitched_));
    say(QStringLiteral("findings lost: %1 of %2").arg(lost).arg(foundAt_.size()));
    const std::size_t pending = console_->journal().pendingNotifications().all().size();
    say(QStringLiteral("notification forms received: %1; notifications still pending: %2")
            .arg(mails.array().size())
            .arg(pending));
    say(QStringLiteral("false alerts: %1").arg(falseAlerts));
    say(QStringLiteral("missed alerts: %1 of %2 due").arg(missedAlerts).arg(dueFrom.size()));
    say(QStringLiteral("board change to alert, worst s: %1").arg(worstDelay));
    say(QStringLiteral("board monitors blind in the outage: %1; seconds of blindness not "
                       "reported: %2; blind outside it: %3; still blind at the end: %4")
            .arg(blindAt_.size() - blindOutsideOutage_)
            .arg(unreportedBlindSeconds_)
            .arg(blindOutsideOutage_)
            .arg(blindNow_.size()));
    say(QStringLiteral("handlers still suspended: %1").arg(desktop_.suspendedHandlers()));
    say(QStringLiteral("processes at the end: %1").arg(end.processes));
    const auto ratio = [&](const bench::ProcessMemory& from) {
      return QString::number(from.pssKiB ? static_cast<double>(end.pssKiB) / from.pssKiB : 0, 'f',
                             2);
    };
    say(QStringLiteral("PSS at the start / after warm-up (%1 s) / at the end, MB: %2 / %3 / %4")
            .arg(kWarmUpS)
            .arg(bench::Megabytes(start_.pssKiB), bench::Megabytes(warmedUp_.pssKiB),
                 bench::Megabytes(end.pssKiB)));
    say(QStringLiteral("USS at the start / after warm-up / at the end, MB: %1 / %2 / %3")
            .arg(bench::Megabytes(start_.ussKiB), bench::Megabytes(warmedUp_.ussKiB),
                 bench::Megabytes(end.ussKiB)));
    say("PSS at the end / after warm-up: " + ratio(warmedUp_));
    if (allFound_.processes) {
      say(QStringLiteral("PSS at the end / once every number was found (%1 s): %2")
              .arg(allFoundAt_)
              .arg(ratio(allFound_)));
    }
    done_(lost || falseAlerts || missedAlerts || unreportedBlindSeconds_ || blindOutsideOutage_ ||
                  !blindNow_.empty() || pending
              ? 1
              : 0);
  }

  const QStringList faults_;
  const e2e::SitesRunner& sites_;
  const int runS_;
  const int faultsUntilS_;
  QStringList numbers_;
  QtDesktop desktop_;
  ConsoleWindow* console_ = nullptr;
  QElapsedTimer clock_;
  QTimer tick_;
  bool faultOn_ = false;
  int faultsSwitched_ = 0;
  std::map<std::size_t, int> changedAt_;
  std::map<QString, int> foundAt_;
  std::map<QString, int> alertedAt_;
  std::map<QString, int> blindAt_;  // caption -> second it first said it was blind
  std::set<QString> blindNow_;
  int blindOutsideOutage_ = 0;
  int unreportedBlindSeconds_ = 0;
  bench::ProcessMemory start_;
  bench::ProcessMemory warmedUp_;
  bench::ProcessMemory allFound_;
  int allFoundAt_ = 0;
  qint64 readyAt_ = -1;
  int listFetchedAt_ = -60;
  int lastSecond_ = -1;
  std::function<void(int)> done_;
};

}  // namespace

int main(int argc, char** argv) {
  int minutes = 27;
  QStringList faults = kAllFaults;
  for (int i = 1; i + 1 < argc; ++i) {
    if (QByteArray(argv[i]) == "--minutes") minutes = std::max(17, std::atoi(argv[i + 1]));
    if (QByteArray(argv[i]) == "--faults") faults = QString::fromLatin1(argv[i + 1]).split(',');
  }
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  qputenv("TIDEX_HOME", home.path().toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  PrepareBrowserEnvironment();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);

  e2e::SitesRunner sites;
  if (!sites.started()) {
    std::fprintf(stderr, "tidex-sites did not start\n");
    return 2;
  }
  QStringList numbers;
  for (int i = 1; i <= 10; ++i) numbers << QStringLiteral("01SK%1").arg(i, 3, 10, QLatin1Char('0'));
  if (!bench::PrepareBatchHome(sites, home.path(), numbers)) return 2;

  // The program's windows are not torn down: the program ends as it does, at once.
  Soak soak(sites, numbers, minutes, faults, [&](int status) {
    ::kill(sites.pid(), SIGKILL);
    home.remove();
    std::fflush(stdout);
    std::_Exit(status);
  });
  soak.start();
  return QApplication::exec();
}
