// tidex-bench-monitors-run: one run of the monitors benchmark, started by tidex-bench-monitors
// in a fresh TIDEX_HOME against a running tidex-sites. The program's windows run in this
// process (Qt back end, offscreen), so this process and its browser processes are the program.
//   tidex-bench-monitors-run SITES_BASE PILOT_BOARD_MONITORS REGISTRATION_MONITORS FURTHER
//                            STEADY_SECONDS
// Prints one figure a line, "label<TAB>value".
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QUrl>

#include "../tests/e2e/program_runner.h"
#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/qt/qt_browser_environment.h"
#include "platform/qt/qt_desktop.h"
#include "process_memory.h"

using namespace tidex;

namespace {

// The board's calls as wharf and vessel: the monitors of these see a change of the board.
const std::vector<std::pair<QString, QString>> kCalls{
    {"1108", "YM HARMONY"},  {"1108", "WAN HAI 316"},  {"1108", "EVER LAUREL"},
    {"1110", "KMTC TAIPEI"}, {"1110", "OOCL FORMOSA"}, {"1070", "TS KEELUNG"}};

void figure(const char* label, const QString& value) {
  std::printf("%s\t%s\n", label, qPrintable(value));
  std::fflush(stdout);
}

QString seconds(double s) { return QString::number(s, 'f', 1); }

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double worst(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Registration numbers with a first answer recorded in the settings file.
int answeredNumbers(const QString& home, const QStringList& numbers) {
  const QStringList lines = QString::fromLatin1(e2e::readFile(home + "/Tidex.ini")).split("\r\n");
  QString section;
  std::set<QString> answered;
  for (const QString& line : lines) {
    if (line.startsWith('[')) {
      section = line;
    } else if (section == "[NoTouchfilesTime]" || section == "[TouchfilesTime]") {
      const QString key = line.section('=', 0, 0);
      if (numbers.contains(key)) answered.insert(key);
    }
  }
  return static_cast<int>(answered.size());
}

class Run {
 public:
  Run(QString base, int pilotBoard, QStringList numbers, int further, int steadySeconds)
      : base_(std::move(base)),
        pilotBoard_(pilotBoard),
        numbers_(std::move(numbers)),
        further_(further),
        steadySeconds_(steadySeconds),
        home_(qEnvironmentVariable("TIDEX_HOME")) {}

  void start() {
    console_ = &desktop_.load<ConsoleWindow>();
    clock_.start();
    const int wharves = pilotBoard_ / 2;
    for (int i = 0; i < wharves; ++i) {
      launchWharf(i < 3 ? QStringList{"1108", "1110", "1070"}[i]
                        : QStringLiteral("K%1").arg(1001 + i));
    }
    for (int i = 0; i < pilotBoard_ - wharves; ++i) {
      const QString vessel = i < static_cast<int>(kCalls.size())
                                 ? kCalls[i].second
                                 : QStringLiteral("VESSEL %1").arg(101 + i);
      console_->vesselField.setText(vessel);
      launched_[vessel] = clock_.elapsed();
      console_->launchVesselMonitor();
    }
    // The console's own fetch of the remote list, as at the half-hourly mark: the batch opens
    // a hidden registration monitor for every number, one every three seconds. Asked a few
    // seconds in, as a user would: the engine drops the first load of the console's hidden
    // browser when it is asked in the engine's first moments, and the list comes back empty.
    QTimer::singleShot(3000, [this] { console_->fetchBatchListNow(); });
    poll_.setInterval(100ms);
    QObject::connect(&poll_, &QTimer::timeout, [this] { waitForReady(); });
    poll_.start();
  }

 private:
  void launchWharf(const QString& wharf) {
    console_->wharfField.setText(wharf);
    launched_[wharf] = clock_.elapsed();
    console_->launchWharfMonitor();
  }

  std::vector<BoardMonitor*> boardMonitors() {
    std::vector<BoardMonitor*> out;
    for (Form* window : desktop_.windows().all()) {
      if (auto* monitor = dynamic_cast<BoardMonitor*>(window)) out.push_back(monitor);
    }
    return out;
  }

  // Records each baseline as it comes; true when every pilot-board monitor has one.
  bool collectBaselines() {
    for (BoardMonitor* monitor : boardMonitors()) {
      if (baselineAt_.count(monitor) || !monitor->hasBaseline()) continue;
      baselineAt_[monitor] = clock_.elapsed();
      watchAlerts(*monitor);
    }
    return baselineAt_.size() >= launched_.size();
  }

  // The first tick of a monitor's alert loop after the board changed.
  void watchAlerts(BoardMonitor& monitor) {
    auto tick = monitor.alertTimer.onTimer;
    monitor.alertTimer.onTimer = [this, &monitor, tick] {
      if (changedAt_ >= 0 && !alertAt_.count(&monitor)) alertAt_[&monitor] = clock_.elapsed();
      tick();
    };
  }

  void waitForReady() {
    const bool baselines = collectBaselines();
    if (++polls_ % 5 == 0) answered_ = answeredNumbers(home_, numbers_);
    const bool timedOut = clock_.elapsed() > 150000;
    if ((!baselines || answered_ < numbers_.size()) && !timedOut) return;
    poll_.stop();
    QObject::disconnect(&poll_, nullptr, nullptr, nullptr);
    std::vector<double> launchToBaseline;
    for (const auto& [monitor, at] : baselineAt_) {
      launchToBaseline.push_back((at - launched_[monitor->Caption()]) / 1000.0);
    }
    figure("pilot-board monitors with a baseline",
           QStringLiteral("%1 of %2").arg(baselineAt_.size()).arg(launched_.size()));
    figure("registration monitors with a first answer",
           QStringLiteral("%1 of %2").arg(answered_).arg(numbers_.size()));
    figure("all ready after, s", seconds(clock_.elapsed() / 1000.0));
    figure("launch to baseline, median s", seconds(median(launchToBaseline)));
    figure("launch to baseline, worst s", seconds(worst(launchToBaseline)));
    QTimer::singleShot(5000, [this] { measureSteady(); });
  }

  void measureSteady() {
    const auto before = bench::MemoryOfTree(static_cast<int>(::getpid()));
    settledPssKiB_ = before.pssKiB;
    settledUssKiB_ = before.ussKiB;
    figure("processes", QString::number(before.processes));
    figure("PSS summed, MB", bench::Megabytes(before.pssKiB));
    figure("PSS of the program's own process, MB", bench::Megabytes(before.rootPssKiB));
    figure("RSS of the program's own process, MB", bench::Megabytes(before.rootRssKiB));
    figure("private memory summed (USS), MB", bench::Megabytes(before.ussKiB));
    figure("private memory of the program's own process, MB", bench::Megabytes(before.rootUssKiB));
    QTimer::singleShot(steadySeconds_ * 1000, [this, before] {
      const auto after = bench::MemoryOfTree(static_cast<int>(::getpid()));
      const double cpu = 100.0 * (after.cpuTicks - before.cpuTicks) /
                         static_cast<double>(::sysconf(_SC_CLK_TCK)) / steadySeconds_;
      figure(qPrintable(QStringLiteral("CPU over %1 s steady, % of one core").arg(steadySeconds_)),
             QString::number(cpu, 'f', 1));
      changeBoard();
    });
  }

  void changeBoard() {
    for (const auto& [wharf, vessel] : kCalls) {
      e2e::httpPost(base_ + "/_control/board/time?wharf=" + wharf + "&vessel=" +
                    QString::fromLatin1(QUrl::toPercentEncoding(vessel)) + "&time=23:45");
    }
    changedAt_ = clock_.elapsed();
    for (BoardMonitor* monitor : boardMonitors()) {
      const QString item = monitor->Caption();
      if (std::any_of(kCalls.begin(), kCalls.end(), [&](const auto& call) {
            return call.first == item || call.second == item;
          })) {
        watched_.insert(monitor);
      }
    }
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      const bool all = std::all_of(watched_.begin(), watched_.end(),
                                   [&](BoardMonitor* m) { return alertAt_.count(m) > 0; });
      if (!all && clock_.elapsed() - changedAt_ < 120000) return;
      poll_.stop();
      QObject::disconnect(&poll_, nullptr, nullptr, nullptr);
      std::vector<double> delays;
      for (BoardMonitor* monitor : watched_) {
        if (alertAt_.count(monitor)) delays.push_back((alertAt_[monitor] - changedAt_) / 1000.0);
      }
      figure("monitors alerted by the board change",
             QStringLiteral("%1 of %2").arg(delays.size()).arg(watched_.size()));
      figure("board change to first alert tick, median s", seconds(median(delays)));
      figure("board change to first alert tick, worst s", seconds(worst(delays)));
      openFurther();
    });
    poll_.start();
  }

  void openFurther() {
    if (further_ <= 0) return finish();
    for (int i = 0; i < further_; ++i) launchWharf(QStringLiteral("K%1").arg(2001 + i));
    const qint64 openedAt = clock_.elapsed();
    QObject::connect(&poll_, &QTimer::timeout, [this, openedAt] {
      if (!collectBaselines() && clock_.elapsed() - openedAt < 120000) return;
      poll_.stop();
      QObject::disconnect(&poll_, nullptr, nullptr, nullptr);
      QTimer::singleShot(5000, [this] {
        const auto after = bench::MemoryOfTree(static_cast<int>(::getpid()));
        figure(qPrintable(QStringLiteral("PSS per further monitor (%1 more), MB").arg(further_)),
               QString::number((after.pssKiB - settledPssKiB_) / 1024.0 / further_, 'f', 1));
        figure("PSS summed with them, MB", bench::Megabytes(after.pssKiB));
        figure(qPrintable(QStringLiteral("USS per further monitor (%1 more), MB").arg(further_)),
               QString::number((after.ussKiB - settledUssKiB_) / 1024.0 / further_, 'f', 1));
        finish();
      });
    });
    poll_.start();
  }

  void finish() { desktop_.endProgram(); }

  QtDesktop desktop_;
  ConsoleWindow* console_ = nullptr;
  QString base_;
  int pilotBoard_;
  QStringList numbers_;
  int further_;
  int steadySeconds_;
  QString home_;
  QElapsedTimer clock_;
  QTimer poll_;
  int polls_ = 0;
  int answered_ = 0;
  std::map<QString, qint64> launched_;  // by caption
  std::map<BoardMonitor*, qint64> baselineAt_;
  std::map<BoardMonitor*, qint64> alertAt_;
  std::set<BoardMonitor*> watched_;
  qint64 changedAt_ = -1;
  std::int64_t settledPssKiB_ = 0;
  std::int64_t settledUssKiB_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "started by tidex-bench-monitors\n");
    return 2;
  }
  QStringList numbers;
  for (int i = 0; i < std::atoi(argv[3]); ++i) {
    numbers << QStringLiteral("01VB%1").arg(i + 1, 3, 10, QLatin1Char('0'));
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  PrepareBrowserEnvironment();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  Run run(QString::fromLocal8Bit(argv[1]), std::max(0, std::atoi(argv[2])), numbers,
          std::atoi(argv[4]), std::max(1, std::atoi(argv[5])));
  run.start();
  return QApplication::exec();
}
