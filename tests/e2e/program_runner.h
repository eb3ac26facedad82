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

 private:
  QProcess server_;
  QString display_;
};

// The real program started in a folder of its own.
class ProgramRunner {
 public:
  explicit ProgramRunner(const QString& home, const QString& display = {});
  ~ProgramRunner();

  void start();
  bool running() const;
  // Waits for the program to end by itself; true when it did within the limit.
  bool waitForExit(std::chrono::milliseconds limit);
  int exitCode() const { return process_->exitCode(); }
  void kill();
  void terminate();
  QByteArray output() const;

 private:
  std::unique_ptr<QProcess> process_;
  QString home_;
  QString display_;
};

QString binary(const QString& name);
QByteArray readFile(const QString& path);

}  // namespace tidex::e2e
