#include "program_runner.h"

#include <signal.h>
#include <unistd.h>

#include <thread>

#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace tidex::e2e {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

QString binary(const QString& name) { return QStringLiteral(TIDEX_BIN_DIR "/") + name; }

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {
int freePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}
}  // namespace

namespace {
// Sends request to the server of url and reads until the server closes the connection or sends
// nothing more within limit; null without a connection.
QByteArray exchange(const QUrl& url, const QByteArray& request, std::chrono::milliseconds limit) {
  QTcpSocket socket;
  socket.connectToHost(url.host(), url.port(80));
  if (!socket.waitForConnected(2000)) return {};
  socket.write(request);
  QByteArray answer;
  while (socket.waitForReadyRead(static_cast<int>(limit.count()))) answer += socket.readAll();
  return answer + socket.readAll();
}

QByteArray httpRequest(const QByteArray& method, const QString& url) {
  const QUrl u(url);
  const QByteArray answer =
      exchange(u,
               method + " " + u.path(QUrl::FullyEncoded).toLatin1() +
                   (u.hasQuery() ? "?" + u.query(QUrl::FullyEncoded).toLatin1() : QByteArray()) +
                   " HTTP/1.0\r\nHost: " + u.host().toLatin1() + "\r\nContent-Length: 0\r\n\r\n",
               std::chrono::milliseconds(2000));
  const int body = answer.indexOf("\r\n\r\n");
  return body < 0 ? QByteArray() : answer.mid(body + 4);
}
}  // namespace

HttpAnswer httpSend(const QString& base, const QByteArray& method, const QByteArray& target,
                    const QByteArray& body, std::chrono::milliseconds limit) {
  const QUrl u(base);
  const QByteArray answer =
      exchange(u,
               method + ' ' + target + " HTTP/1.0\r\nHost: " + u.host().toLatin1() +
                   "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body,
               limit);
  const qsizetype headEnd = answer.indexOf("\r\n\r\n");
  if (headEnd < 0) return {};
  HttpAnswer out{0, answer.left(headEnd), answer.mid(headEnd + 4)};
  out.status = out.head.split(' ').value(1).toInt();
  return out;
}

QByteArray httpGet(const QString& url) { return httpRequest("GET", url); }
QByteArray httpPost(const QString& url) { return httpRequest("POST", url); }

SitesRunner::SitesRunner() {
  for (int attempt = 0; attempt < 5 && port_ == 0; ++attempt) {
    const int port = freePort();
    process_.start(binary(QStringLiteral("tidex-sites")),
                   {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
    if (!process_.waitForStarted(5000)) continue;
    port_ = port;
    if (!waitUntil(
            [&] { return !httpGet(base() + "/_control/log").isNull() || !process_.isOpen(); },
            std::chrono::seconds(10)) ||
        process_.state() != QProcess::Running) {
      port_ = 0;
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
}

SitesRunner::~SitesRunner() {
  process_.kill();
  process_.waitForFinished(3000);
}

QStringList SitesRunner::requestLog() const {
  return QString::fromUtf8(httpGet(base() + "/_control/log")).split('\n', Qt::SkipEmptyParts);
}

bool SitesRunner::control(const QString& pathAndQuery) const {
  return !httpPost(base() + pathAndQuery).isNull();
}

void SitesRunner::configure(const QString& home) const {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  if (!ini.open(QIODevice::Append)) return;
  QProcess pilots;
  pilots.start(binary(QStringLiteral("tidex-sites")), {QStringLiteral("--pilots-ini")});
  pilots.waitForFinished(5000);
  ini.write(pilots.readAllStandardOutput());
  QByteArray section = "[servers]\r\n";
  for (const char* key : {"board", "boardip", "customs", "imct", "maker"}) {
    section += QByteArray(key) + '=' + base().toLatin1() + "\r\n";
  }
  ini.write(section);
}

VirtualDisplay::VirtualDisplay() {
  // -displayfd 1 makes the server pick a free display and print its number.
  server_.start(QStringLiteral("Xvfb"),
                {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                 QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                 QStringLiteral("tcp")});
  if (!server_.waitForStarted(5000)) return;
  QByteArray number;
  waitUntil(
      [&] {
        server_.waitForReadyRead(100);
        number += server_.readAllStandardOutput();
        return number.contains('\n');
      },
      std::chrono::seconds(10));
  if (number.trimmed().isEmpty()) return;
  display_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

VirtualDisplay::~VirtualDisplay() {
  server_.terminate();
  server_.waitForFinished(3000);
}

QString VirtualDisplay::xdotool(const QStringList& args) const {
  QProcess tool;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display_);
  tool.setProcessEnvironment(env);
  tool.start(QStringLiteral("xdotool"), args);
  tool.waitForFinished(5000);
  return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList VirtualDisplay::visibleWindows(const QString& title) const {
  return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"),
                  QStringLiteral("^") + QRegularExpression::escape(title) + QStringLiteral("$")})
      .split('\n', Qt::SkipEmptyParts);
}

QStringList VirtualDisplay::allVisibleWindows() const {
  return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), QStringLiteral(".")})
      .split('\n', Qt::SkipEmptyParts);
}

void VirtualDisplay::focus(const QString& windowId) const {
  xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId});
}

void VirtualDisplay::activate(const QString& windowId) const {
  xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), windowId});
}

void VirtualDisplay::minimise(const QString& windowId) const {
  xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), windowId});
}

QString VirtualDisplay::focusedWindowTitle() const {
  const QString id = xdotool({QStringLiteral("getwindowfocus")}).trimmed();
  return id.isEmpty() ? QString() : xdotool({QStringLiteral("getwindowname"), id}).trimmed();
}

ProgramRunner::ProgramRunner(const QString& home, const QString& display)
    : process_(std::make_unique<QProcess>()), home_(home), display_(display) {}

ProgramRunner::~ProgramRunner() { kill(); }

void ProgramRunner::start() { startAt(QString()); }

void ProgramRunner::startAt(const QString& moment) {
  launch(moment.isEmpty() ? QStringList()
                          : QStringList{QStringLiteral("-f"), QLatin1Char('@') + moment});
}

void ProgramRunner::startFaster(int rate) {
  launch({QStringLiteral("-f"), QStringLiteral("+0 x%1").arg(rate)});
}

void ProgramRunner::launch(const QStringList& faketime) {
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(extra_);
  env.insert(QStringLiteral("TIDEX_HOME"), home_);
  env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
  if (display_.isEmpty()) {
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  } else {
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display_);
  }
  // Processes the program starts later (the engine's renderers) keep its clock rather than
  // starting again at the given moment.
  if (!faketime.isEmpty()) env.insert(QStringLiteral("FAKETIME_DONT_RESET"), QStringLiteral("1"));
  process_->setProcessEnvironment(env);
  process_->setProcessChannelMode(QProcess::MergedChannels);
  // A group of its own: killing the program also kills what faketime started and the
  // engine's renderers, which would otherwise outlive the test.
  process_->setChildProcessModifier([] { ::setpgid(0, 0); });
  if (faketime.isEmpty()) {
    process_->start(binary(QStringLiteral("tidex")), {});
  } else {
    process_->start(QStringLiteral("faketime"),
                    faketime + QStringList{binary(QStringLiteral("tidex"))});
  }
  process_->waitForStarted(10000);
  group_ = process_->processId();
}

bool ProgramRunner::running() const { return process_->state() == QProcess::Running; }

bool ProgramRunner::waitForExit(std::chrono::milliseconds limit) {
  if (!running()) return true;
  return process_->waitForFinished(static_cast<int>(limit.count()));
}

void ProgramRunner::kill() {
  if (group_ > 0) ::kill(static_cast<pid_t>(-group_), SIGKILL);
  group_ = 0;
  if (!running()) return;
  process_->kill();
  process_->waitForFinished(5000);
}

void ProgramRunner::terminate() {
  if (running()) process_->terminate();
}

QByteArray ProgramRunner::output() const { return process_->readAll(); }

}  // namespace tidex::e2e
