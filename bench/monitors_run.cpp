// tidex-bench-monitors-run: one run of the monitors benchmark, started by tidex-bench-monitors
// in a fresh TIDEX_HOME against a running tidex-sites. The program's windows run in this
// process (Qt back end, offscreen), so this process and its browser processes are the program.
//   tidex-bench-monitors-run SITES_BASE PILOT_BOARD_MONITORS REGISTRATION_MONITORS FURTHER
//                            STEADY_SECONDS [SOAK_MINUTES SPEED SAMPLE_SECONDS]
// Prints one figure a line, "label<TAB>value", and in a soak one line per sample, "sample<TAB>...".
// With SOAK_MINUTES above zero, once every monitor is ready it soaks instead: the monitors run
// on for that long with their poll clocks SPEED times faster (every reload a real load of the
// page, only sooner), and the private memory of each process is sampled every SAMPLE_SECONDS.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

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

// Least-squares slope of (t, y), in y per unit of t; 0 with fewer than two points.
double slope(const std::vector<std::pair<double, double>>& points) {
  if (points.size() < 2) return 0;
  double st = 0, sy = 0;
  for (const auto& [t, y] : points) {
    st += t;
    sy += y;
  }
  const double n = static_cast<double>(points.size());
  const double mt = st / n, my = sy / n;
  double num = 0, den = 0;
  for (const auto& [t, y] : points) {
    num += (t - mt) * (y - my);
    den += (t - mt) * (t - mt);
  }
  return den > 0 ? num / den : 0;
}

struct SoakOptions {
  int minutes = 0;  // 0: no soak
  double speed = 1;
  int sampleSeconds = 180;
};

// One series of samples: a process of the tree, the whole tree or the program's heap.
struct Series {
  QString label;
  std::vector<std::pair<double, double>> points;  // (hours since the soak began, MB)
  double firstUss = -1, lastUss = -1;             // private memory (USS), MB
};

class Run {
 public:
  Run(QString base, int pilotBoard, QStringList numbers, int further, int steadySeconds,
      SoakOptions soak)
      : base_(std::move(base)),
        pilotBoard_(pilotBoard),
        numbers_(std::move(numbers)),
        further_(further),
        steadySeconds_(steadySeconds),
        soak_(soak),
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
      console_->launchMonitor(MonitorKindOf(QStringLiteral("vessel")));
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
    console_->launchMonitor(MonitorKindOf(QStringLiteral("wharf")));
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
    if (soak_.minutes > 0) {
      QTimer::singleShot(5000, [this] { startSoak(); });
      return;
    }
    QTimer::singleShot(5000, [this] { measureSteady(); });
  }

  std::vector<RegistrationMonitor*> registrationMonitors() {
    std::vector<RegistrationMonitor*> out;
    for (Form* window : desktop_.windows().all()) {
      if (auto* monitor = dynamic_cast<RegistrationMonitor*>(window)) out.push_back(monitor);
    }
    return out;
  }

  // Every monitor's poll clock runs soak_.speed times faster: a board monitor reloads every
  // 60 ticks, a registration monitor queries every 300; each reload is a real load.
  void speedUp() {
    const auto fast = std::chrono::milliseconds(static_cast<int>(1000 / soak_.speed));
    for (BoardMonitor* monitor : boardMonitors()) monitor->pollTimer.setInterval(fast);
    for (RegistrationMonitor* monitor : registrationMonitors()) {
      monitor->pollTimer.setInterval(fast);
    }
  }

  // Pages replaced by a fresh one since the last look, on any browser of the program, and any
  // monitor alerting.
  void watchPages() {
    for (QWidget* widget : QApplication::allWidgets()) {
      auto* view = qobject_cast<QWebEngineView*>(widget);
      if (!view) continue;
      QPointer<QWebEnginePage>& seen = pages_[view];
      const bool replaced = seen ? seen.data() != view->page() : pagesSeen_.count(view) > 0;
      if (replaced) ++recreated_;
      pagesSeen_.insert(view);
      seen = view->page();
    }
    for (BoardMonitor* monitor : boardMonitors()) {
      if (monitor->isAlerting()) alerted_.insert(monitor->Caption());
    }
    for (RegistrationMonitor* monitor : registrationMonitors()) {
      if (monitor->isAlerting()) alerted_.insert(monitor->Caption());
    }
  }

  void startSoak() {
    speedUp();
    for (BoardMonitor* monitor : boardMonitors()) {
      soakBaselines_[monitor->Caption()] = monitor->baseline();
    }
    watchPages();
    recreated_ = 0;
    alerted_.clear();
    soakClock_.start();
    sample();
    QObject::connect(&poll_, &QTimer::timeout, [this] { watchPages(); });
    poll_.setInterval(1000ms);
    poll_.start();
    sampler_.setInterval(soak_.sampleSeconds * 1000);
    QObject::connect(&sampler_, &QTimer::timeout, [this] {
      speedUp();  // a monitor opened since (the console's half-hourly fetch) runs as fast
      sample();
      if (soakClock_.elapsed() >= soak_.minutes * 60000LL) endSoak();
    });
    sampler_.start();
  }

  void sample() {
    const double hours = soakClock_.elapsed() / 3600000.0;
    double treeUss = 0, treeDirty = 0;
    QStringList parts;
    for (const bench::ProcessSample& process : bench::MemoryOfEach(static_cast<int>(::getpid()))) {
      const double uss = process.ussKiB / 1024.0, dirty = process.dirtyKiB / 1024.0;
      treeUss += uss;
      treeDirty += dirty;
      Series& series = processes_[process.pid];
      if (series.label.isEmpty()) {
        series.label = QStringLiteral("%1 %2").arg(process.kind).arg(process.pid);
        series.firstUss = uss;
      }
      series.lastUss = uss;
      series.points.emplace_back(hours, dirty);
      parts
          << QStringLiteral("%1 %2/%3").arg(series.label).arg(dirty, 0, 'f', 0).arg(uss, 0, 'f', 0);
    }
    if (tree_.points.empty()) tree_.firstUss = treeUss;
    tree_.lastUss = treeUss;
    tree_.points.emplace_back(hours, treeDirty);
    // glibc's heap in use, the blocks it maps on their own (large buffers) included.
    const struct mallinfo2 info = ::mallinfo2();
    const double heap = static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
    heap_.points.emplace_back(hours, heap);
    const QString line = QStringLiteral(
                             "sample\t%1 min: private dirty / USS, MB: tree %2/%3 (%4); the "
                             "program's malloc heap in use %5; pages recreated %6; monitors "
                             "alerted %7\n")
                             .arg(hours * 60, 0, 'f', 0)
                             .arg(treeDirty, 0, 'f', 0)
                             .arg(treeUss, 0, 'f', 0)
                             .arg(parts.join(", "))
                             .arg(heap, 0, 'f', 0)
                             .arg(recreated_)
                             .arg(alerted_.size());
    std::fputs(qPrintable(line), stdout);
    std::fflush(stdout);
  }

  // Growth per hour (least squares over the second half of the samples) and the largest step
  // between two samples of one series.
  void report(const Series& series, const QString& label, const QString& what = "private dirty") {
    const auto& points = series.points;
    if (points.empty()) return;
    const std::vector<std::pair<double, double>> late(points.begin() + points.size() / 2,
                                                      points.end());
    double step = 0;
    for (size_t i = 1; i < points.size(); ++i) {
      const double d = points[i].second - points[i - 1].second;
      if (std::abs(d) > std::abs(step)) step = d;
    }
    const double perHour = slope(late);
    if (series.firstUss >= 0) {
      figure(
          qPrintable(label + QStringLiteral(": USS first / last, MB")),
          QStringLiteral("%1 / %2").arg(series.firstUss, 0, 'f', 0).arg(series.lastUss, 0, 'f', 0));
    }
    figure(qPrintable(label + QStringLiteral(": %1 first / last, MB").arg(what)),
           QStringLiteral("%1 / %2")
               .arg(points.front().second, 0, 'f', 0)
               .arg(points.back().second, 0, 'f', 0));
    figure(qPrintable(label + QStringLiteral(": growth, MB per hour of reloads")),
           QString::number(perHour / soak_.speed, 'f', 1));
    figure(qPrintable(label + QStringLiteral(": growth, MB per real hour")),
           QString::number(perHour, 'f', 1));
    figure(qPrintable(label + QStringLiteral(": largest step between samples, MB")),
           QString::number(step, 'f', 0));
  }

  void endSoak() {
    sampler_.stop();
    poll_.stop();
    watchPages();
    const double hours = soakClock_.elapsed() / 3600000.0;
    figure("soak, real minutes", QString::number(hours * 60, 'f', 0));
    figure("soak, hours of reloads", QString::number(hours * soak_.speed, 'f', 1));
    figure("samples", QString::number(tree_.points.size()));
    report(tree_, QStringLiteral("whole tree"));
    for (const auto& [pid, series] : processes_) {
      // A process that lived for less than the second half has no growth to tell.
      if (series.points.size() * 2 >= tree_.points.size()) report(series, series.label);
    }
    report(heap_, QStringLiteral("program's malloc heap"), QStringLiteral("in use"));
    figure("pages recreated", QString::number(recreated_));
    figure("monitors alerted in the soak (the board did not change)",
           QString::number(alerted_.size()));
    int kept = 0;
    for (BoardMonitor* monitor : boardMonitors()) {
      auto it = soakBaselines_.find(monitor->Caption());
      if (it != soakBaselines_.end() && it->second == monitor->baseline()) ++kept;
    }
    figure("board monitors with their caption and baseline kept",
           QStringLiteral("%1 of %2").arg(kept).arg(soakBaselines_.size()));
    finish();
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
  SoakOptions soak_;
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
  // The soak.
  QElapsedTimer soakClock_;
  QTimer sampler_;
  std::map<int, Series> processes_;  // by process id
  Series tree_;
  Series heap_;
  std::map<QWebEngineView*, QPointer<QWebEnginePage>> pages_;
  std::set<QWebEngineView*> pagesSeen_;
  int recreated_ = 0;
  std::set<QString> alerted_;                 // captions of monitors alerting in the soak
  std::map<QString, QString> soakBaselines_;  // board monitors' baselines as the soak began
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
  SoakOptions soak;
  if (argc >= 9) {
    soak.minutes = std::atoi(argv[6]);
    soak.speed = std::max(1.0, std::atof(argv[7]));
    soak.sampleSeconds = std::max(10, std::atoi(argv[8]));
  }
  Run run(QString::fromLocal8Bit(argv[1]), std::max(0, std::atoi(argv[2])), numbers,
          std::atoi(argv[4]), std::max(1, std::atoi(argv[5])), soak);
  run.start();
  return QApplication::exec();
}
