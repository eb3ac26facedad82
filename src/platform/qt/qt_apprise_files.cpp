#include "platform/qt/qt_apprise_files.h"

#include <cerrno>
#include <mutex>
#include <set>

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace tidex {
namespace {

const QString kPrefix = QStringLiteral("tidex-apprise-");

struct LiveFiles {
  std::mutex lock;
  std::set<QString> paths;
};

LiveFiles& live() {
  static LiveFiles files;
  return files;
}

bool running(qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

QString WriteAppriseConfig(const QByteArray& text) {
  QTemporaryFile file(QDir::tempPath() + QLatin1Char('/') + kPrefix +
                      QString::number(QCoreApplication::applicationPid()) +
                      QStringLiteral("-XXXXXX.txt"));
  file.setAutoRemove(false);
  if (!file.open()) return {};
  const QString path = file.fileName();
  {
    std::lock_guard guard(live().lock);
    live().paths.insert(path);
  }
  if (file.write(text) != text.size() || !file.flush()) {
    file.close();
    RemoveAppriseConfig(path);
    return {};
  }
  return path;
}

void RemoveAppriseConfig(const QString& path) {
  std::lock_guard guard(live().lock);
  if (live().paths.erase(path)) QFile::remove(path);
}

void RemoveAppriseConfigs() {
  std::lock_guard guard(live().lock);
  for (const QString& path : live().paths) QFile::remove(path);
  live().paths.clear();
}

void RemoveLeftoverAppriseConfigs() {
  static const QRegularExpression kName(QStringLiteral("^tidex-apprise-(\\d+)-\\w{6}\\.txt$"));
  const QDir folder(QDir::tempPath());
  const qint64 own = QCoreApplication::applicationPid();
  for (const QFileInfo& file :
       folder.entryInfoList({kPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
    const auto match = kName.match(file.fileName());
    if (!match.hasMatch() || file.ownerId() != ::getuid()) continue;
    const qint64 pid = match.captured(1).toLongLong();
    if (pid != own && !running(pid)) QFile::remove(file.filePath());
  }
}

}  // namespace tidex
