// tidex-bench-monitors: a day's monitors on one desktop, measured. For each process model it
// starts tidex-sites and, in a fresh TIDEX_HOME with the IMCT account and the remote batch list
// set, one run of tidex-bench-monitors-run (the program's windows in that process, offscreen),
// and prints the figures of the runs side by side.
//   tidex-bench-monitors [--pilot-board N=40] [--registrations M=20] [--further K=10]
//                        [--steady SECONDS=120] [--compare] [--with-targets]
//                        [--soak MINUTES [--speed X=1] [--sample-every SECONDS=180]]
//                        [--wrap "COMMAND ARGS"]
// --compare runs the same again with the browser engine's default process model;
// --with-targets runs it again with two remote notification targets in Tidex.ini (a webhook on
// tidex-sites and a mail server that refuses every connection, so sends are tried again).
// --soak runs the monitors on for MINUTES once they are ready, instead of the steady, change and
// further measures, with their poll clocks X times faster (each reload a real load), and prints
// for each process and the whole tree the growth of its private memory per hour (least squares
// over the second half of the samples), the largest step between samples and the pages
// recreated. --wrap starts the measured run under a tool, such as "heaptrack -o FILE".
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../tests/e2e/program_runner.h"
#include "bench_home.h"

using namespace tidex;

namespace {

struct Options {
  int pilotBoard = 40;
  int registrations = 20;
  int further = 10;
  int steadySeconds = 120;
  bool compare = false;
  bool withTargets = false;
  int soakMinutes = 0;
  double speed = 1;
  int sampleSeconds = 180;
  QStringList wrap;  // a tool the run is started under, with its arguments
};

// One column of the figures: the process model and whether remote targets are configured.
struct Variant {
  QString label;
  QString model;
  bool targets = false;
};

// Two targets as the settings window writes them; the mail server's port is closed.
void addRemoteTargets(const e2e::SitesRunner& sites, const QString& home) {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  if (!ini.open(QIODevice::Append)) return;
  ini.write("[notify]\r\nhook=webhook\r\nphone=email\r\n[notify hook]\r\naddress=" +
            sites.base().toLatin1() +
            "/hooks/tidex\r\n[notify phone]\r\naddress=smtp://127.0.0.1:9\r\n"
            "from=tidex@harbour.test\r\nto=duty@harbour.test\r\n");
}

Options parse(const QStringList& args) {
  Options options;
  for (int i = 1; i < args.size(); ++i) {
    const QString value = args.value(i + 1);
    if (args[i] == "--compare") {
      options.compare = true;
      continue;
    }
    if (args[i] == "--with-targets") {
      options.withTargets = true;
      continue;
    }
    if (args[i] == "--pilot-board") options.pilotBoard = value.toInt();
    if (args[i] == "--registrations") options.registrations = value.toInt();
    if (args[i] == "--further") options.further = value.toInt();
    if (args[i] == "--steady") options.steadySeconds = value.toInt();
    if (args[i] == "--soak") options.soakMinutes = value.toInt();
    if (args[i] == "--speed") options.speed = value.toDouble();
    if (args[i] == "--sample-every") options.sampleSeconds = value.toInt();
    if (args[i] == "--wrap") options.wrap = QProcess::splitCommand(value);
    ++i;
  }
  return options;
}

using Figures = std::vector<std::pair<QString, QString>>;

// One run with the given process model ("per-site" or "default"); its figures in order.
Figures runOnce(const Options& options, const Variant& variant) {
  const QString& model = variant.model;
  e2e::SitesRunner sites;
  QTemporaryDir home;
  if (!sites.started() || !home.isValid()) return {{"error", "tidex-sites did not start"}};
  QStringList numbers;
  for (int i = 0; i < options.registrations; ++i) {
    numbers << QStringLiteral("01VB%1").arg(i + 1, 3, 10, QLatin1Char('0'));
  }
  if (!bench::PrepareBatchHome(sites, home.path(), numbers)) return {{"error", "no settings file"}};
  if (variant.targets) addRemoteTargets(sites, home.path());

  QProcess run;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("TIDEX_HOME", home.path());
  env.insert("TIDEX_PROCESS_MODEL", model);
  env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
  run.setProcessEnvironment(env);
  run.setStandardErrorFile(QProcess::nullDevice());
  QStringList command{
      e2e::binary("tidex-bench-monitors-run"), sites.base(),
      QString::number(options.pilotBoard),     QString::number(options.registrations),
      QString::number(options.further),        QString::number(options.steadySeconds),
      QString::number(options.soakMinutes),    QString::number(options.speed),
      QString::number(options.sampleSeconds)};
  command = options.wrap + command;
  run.start(command.takeFirst(), command);
  Figures figures;
  QByteArray pending;
  for (bool more = true; more;) {
    more = run.waitForReadyRead(-1) || run.state() == QProcess::Running;
    pending += run.readAllStandardOutput();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
      const QList<QByteArray> parts = pending.left(end).split('\t');
      pending.remove(0, end + 1);
      if (parts.size() == 2 && parts[0] == "sample") {
        std::printf("[%s] %s\n", qPrintable(variant.label), parts[1].constData());
        std::fflush(stdout);
        continue;
      }
      if (parts.size() != 2) continue;
      figures.emplace_back(QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1]));
      std::fprintf(stderr, "[%s] %s: %s\n", qPrintable(variant.label), parts[0].constData(),
                   parts[1].constData());
    }
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const Options options = parse(app.arguments());
  std::printf(
      "%d pilot-board monitors (half wharf, half vessel) opened at once, %d registration "
      "monitors\nthrough the console's batch of the remote list (hidden, one every 3 s). The "
      "program's\nwindows run inside the measured process (Qt back end, offscreen); figures "
      "cover it and\nits browser processes, not tidex-sites.\n\n",
      options.pilotBoard, options.registrations);
  std::fflush(stdout);
  std::vector<Variant> variants{{"per-site", "per-site", false}};
  if (options.compare) variants.push_back({"default", "default", false});
  if (options.withTargets) variants.push_back({"two targets", "per-site", true});
  std::vector<Figures> results;
  for (const Variant& variant : variants) results.push_back(runOnce(options, variant));

  int width = 52;
  for (const auto& [label, value] : results.front()) {
    width = std::max(width, static_cast<int>(label.size()) + 2);
  }
  std::printf("%-*s", width, "process model");
  for (const Variant& variant : variants) std::printf("%14s", qPrintable(variant.label));
  std::printf("\n");
  for (size_t row = 0; row < results.front().size(); ++row) {
    std::printf("%-*s", width, qPrintable(results.front()[row].first));
    for (const Figures& figures : results) {
      std::printf("%14s", row < figures.size() ? qPrintable(figures[row].second) : "-");
    }
    std::printf("\n");
  }
  return 0;
}
