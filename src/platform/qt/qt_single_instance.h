#pragma once

#include <functional>

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QPointer>

namespace tidex {

// One copy of the program per user, program file and settings folder. The first copy listens
// on a local socket; a later copy finds it there and can send it a window caption to bring
// forward.
class QtSingleInstance final : public QObject {
 public:
  // Decides at once whether another copy runs; activate runs in the first copy for every
  // caption a later copy sends.
  QtSingleInstance(const QString& serverName, std::function<void(const QString&)> activate);
  ~QtSingleInstance() override;

  // "tidex-<uid>-<hash of the program file and the settings folder>".
  static QString serverNameFor(const QString& programFile, const QString& settingsFolder);

  bool previousInstance() const { return previous_; }
  // Sends a caption to the first copy and waits (briefly) until it has left this process.
  void activateOther(const QString& caption);

 private:
  bool connectToFirst();
  void listen();
  void accept();
  void readLines(QLocalSocket* socket);

  QString name_;
  std::function<void(const QString&)> activate_;
  bool previous_ = false;
  QPointer<QLocalSocket> toFirst_;
  QPointer<QLocalServer> server_;
};

}  // namespace tidex
