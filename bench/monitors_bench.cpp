// tidex-bench: opens N wharf monitors in the real program's windows (Qt back end, offscreen)
// against tidex-sites on loopback and prints how long the baselines took and the memory of
// the whole process tree, renderers included. Also times the board text normalisation.
//   tidex-bench [monitors=40]
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include "console/console_window.h"
#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/pilotboard/board_text.h"
#include "platform/qt/qt_browser_environment.h"
#include "platform/qt/qt_desktop.h"
#include "process_memory.h"

using namespace tidex;

namespace {

int freePort() {
  QTcpServer probe;
  return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

void writeSettings(const QString& home, int port) {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  if (!ini.open(QIODevice::WriteOnly)) return;
  ini.write("[servers]\r\n");
  for (const char* key : {"board", "boardip", "customs", "imct", "maker"}) {
    ini.write(QByteArray(key) + "=http://127.0.0.1:" + QByteArray::number(port) + "\r\n");
  }
  QProcess pilots;
  pilots.start(QStringLiteral(TIDEX_BIN_DIR "/tidex-sites"), {QStringLiteral("--pilots-ini")});
  pilots.waitForFinished(5000);
  ini.write(pilots.readAllStandardOutput());
}

void benchNormalisation() {
  QString page;
  for (int row = 0; row < 400; ++row) {
    page += QStringLiteral("YM HARMONY %1\t1108\t2026/12/08\t14:%2\t0037王大明\t靠泊中\t/Y\r\n")
                .arg(row)
                .arg(row % 60, 2, 10, QLatin1Char('0'));
  }
  QStringList pilots;
  for (int n = 35; n <= 90; ++n) pilots << QStringLiteral("%1名字").arg(n, 4, 10, QLatin1Char('0'));
  QElapsedTimer clock;
  clock.start();
  int runs = 0;
  while (clock.elapsed() < 1000) {
    NormaliseBoardText(page, pilots);
    ++runs;
  }
  std::printf("normalisation: %d KiB board page, %.2f ms per page\n",
              static_cast<int>(page.size() * 2 / 1024), 1000.0 * clock.elapsed() / runs / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
  const int monitors = argc > 1 ? std::max(1, atoi(argv[1])) : 40;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  PrepareBrowserEnvironment();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);

  benchNormalisation();

  QTemporaryDir home;
  qputenv("TIDEX_HOME", home.path().toLocal8Bit());
  const int port = freePort();
  writeSettings(home.path(), port);
  QProcess sites;
  sites.start(QStringLiteral(TIDEX_BIN_DIR "/tidex-sites"),
              {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
  if (!sites.waitForStarted(5000)) return 1;
  sites.waitForReadyRead(5000);

  QtDesktop desktop;
  ConsoleWindow& console = desktop.load<ConsoleWindow>();
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < monitors; ++i) {
    console.wharfField.setText(QStringLiteral("K%1").arg(1001 + i));
    console.launchMonitor(MonitorKindOf(QStringLiteral("wharf")));
  }

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    int ready = 0;
    for (Form* window : desktop.windows().all()) {
      auto* monitor = dynamic_cast<WharfMonitor*>(window);
      if (monitor && monitor->hasBaseline()) ++ready;
    }
    if (ready < monitors && clock.elapsed() < 180000) return;
    const auto memory = bench::MemoryOfTree(static_cast<int>(::getpid()));
    std::printf("monitors: %d of %d with a baseline after %.1f s\n", ready, monitors,
                clock.elapsed() / 1000.0);
    std::printf(
        "memory: %d processes, %.0f MB resident in all (program %.0f MB), %.1f MB per "
        "monitor\n",
        memory.processes, memory.rssKiB / 1024.0, memory.rootRssKiB / 1024.0,
        memory.rssKiB / 1024.0 / monitors);
    std::fflush(stdout);
    sites.kill();
    sites.waitForFinished(3000);
    desktop.endProgram();
  });
  poll.start(500);
  return QApplication::exec();
}
