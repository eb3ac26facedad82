#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace tidex::e2e {

// Polls until the condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// A virtual X server for tests that look at real windows.
class VirtualDisplay {
 public:
  VirtualDisplay();
  ~VirtualDisplay();
  bool started() const { return !display_.isEmpty(); }
  const QString& display() const { return display_; }
  // Ids of the visible top-level windows whose title is exactly this text.
  QStringList visibleWindows(const QString& title) const;
  // Ids of every visible top-level window with a title.
  QStringList allVisibleWindows() const;
  // Gives a window the keyboard focus.
  void focus(const QString& windowId) const;
  // Asks the window manager to activate a window, as a pager or a task bar does.
  void activate(const QString& windowId) const;
  // Minimises a window as the user does (ICCCM iconic state, through the window manager).
  void minimise(const QString& windowId) const;
  // The title of the window that has the keyboard focus.
  QString focusedWindowTitle() const;

 private:
  QString xdotool(const QStringList& args) const;
  QProcess server_;
  QString display_;
};

// The real program started in a folder of its own.
class ProgramRunner {
 public:
  explicit ProgramRunner(const QString& home, const QString& display = {});
  ~ProgramRunner();

  // An environment variable for the program, before it starts.
  void setVariable(const QString& name, const QString& value) { extra_.insert(name, value); }
  void start();
  // Starts the program with its clock (and its browser's) set to a moment such as
  // "2026-12-08 10:28:50", running on from there (faketime).
  void startAt(const QString& moment);
  // Starts the program with its clock (and its browser's) running rate times faster than the
  // wall clock, from now (faketime).
  void startFaster(int rate);
  // The process started: the program, or faketime above it.
  qint64 pid() const { return process_->processId(); }
  bool running() const;
  // Waits for the program to end by itself; true when it did within the limit.
  bool waitForExit(std::chrono::milliseconds limit);
  int exitCode() const { return process_->exitCode(); }
  void kill();
  void terminate();
  QByteArray output() const;

 private:
  void launch(const QStringList& faketime);
  std::unique_ptr<QProcess> process_;
  QProcessEnvironment extra_;
  QString home_;
  QString display_;
  qint64 group_ = 0;  // the process group of the last launch
};

// tidex-sites on a free loopback port, for as long as the object lives.
class SitesRunner {
 public:
  SitesRunner();
  ~SitesRunner();
  bool started() const { return port_ != 0; }
  QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }
  // The requests the services received, one "METHOD /path?query" per line.
  QStringList requestLog() const;
  // Writes a servers section that points every service at this runner, and the pilots.
  void configure(const QString& home) const;
  // POST to the control interface, e.g. "/_control/board/time?wharf=1108&...".
  bool control(const QString& pathAndQuery) const;
  int pid() const { return static_cast<int>(process_.processId()); }

 private:
  QProcess process_;
  int port_ = 0;
};

QString binary(const QString& name);
// GET (or POST) on loopback with a bounded wait; null on failure.
QByteArray httpGet(const QString& url);
QByteArray httpPost(const QString& url);
QByteArray readFile(const QString& path);

// An HTTP answer: status 0 when none came.
struct HttpAnswer {
  int status = 0;
  QByteArray head;  // the status line and headers
  QByteArray body;
};
// One request on loopback to base ("http://127.0.0.1:PORT"): target (path and query) goes out
// byte for byte, body with its Content-Length. Waits up to limit for each read of the answer.
HttpAnswer httpSend(const QString& base, const QByteArray& method, const QByteArray& target,
                    const QByteArray& body = {},
                    std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace tidex::e2e
