#include "platform/qt/qt_single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>

namespace tidex {
namespace {
constexpr int kConnectMs = 500;
constexpr int kWriteMs = 1000;
constexpr int kStartLockMs = 3000;
}  // namespace

QtSingleInstance::QtSingleInstance(const QString& serverName,
                                   std::function<void(const QString&)> activate)
    : name_(serverName), activate_(std::move(activate)) {
  // Two copies starting at the same moment take turns, so that one cannot remove the other's
  // fresh socket; a lock left by a crashed copy is recognised as stale.
  QLockFile starting(QDir::temp().filePath(name_ + QStringLiteral(".lock")));
  starting.tryLock(kStartLockMs);
  if (connectToFirst()) {
    previous_ = true;
    return;
  }
  listen();
}

QtSingleInstance::~QtSingleInstance() {
  if (server_) server_->close();
}

QString QtSingleInstance::serverNameFor(const QString& programFile, const QString& settingsFolder) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData(programFile.toUtf8());
  hash.addData(QByteArrayView("\n"));
  hash.addData(settingsFolder.toUtf8());
  return QStringLiteral("tidex-%1-%2")
      .arg(::getuid())
      .arg(QString::fromLatin1(hash.result().toHex().left(12)));
}

bool QtSingleInstance::connectToFirst() {
  auto* socket = new QLocalSocket(this);
  socket->connectToServer(name_);
  // A bounded wait on one socket, not an event loop: a live first copy accepts at once.
  if (socket->waitForConnected(kConnectMs)) {
    toFirst_ = socket;
    return true;
  }
  socket->deleteLater();
  return false;
}

void QtSingleInstance::listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &QtSingleInstance::accept);
  // A copy that crashed leaves its socket file behind.
  QLocalServer::removeServer(name_);
  if (server_->listen(name_)) return;
  // Another copy started at the same moment and won.
  if (connectToFirst()) previous_ = true;
  server_->deleteLater();
  server_ = nullptr;
}

void QtSingleInstance::accept() {
  while (QLocalSocket* socket = server_ ? server_->nextPendingConnection() : nullptr) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readLines(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, [socket] { socket->deleteLater(); });
    if (socket->bytesAvailable() > 0) readLines(socket);
  }
}

void QtSingleInstance::readLines(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    const QString caption = QString::fromUtf8(socket->readLine()).chopped(1);
    if (activate_) activate_(caption);
  }
}

void QtSingleInstance::activateOther(const QString& caption) {
  if (!toFirst_ || toFirst_->state() != QLocalSocket::ConnectedState) {
    if (toFirst_) toFirst_->deleteLater();
    if (!connectToFirst()) return;
  }
  toFirst_->write(caption.toUtf8() + '\n');
  toFirst_->flush();
  toFirst_->waitForBytesWritten(kWriteMs);
}

}  // namespace tidex
