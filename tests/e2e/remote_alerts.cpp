#include "remote_alerts.h"
#include "board_path.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace std::chrono_literals;

namespace tidex::e2e {

const QString kAlertLine = QStringLiteral("YM HARMONY　抵港時間 14:30 → 23:45");

void addToSettings(const QString& home, const QByteArray& lines) {
  QFile ini(home + QStringLiteral("/Tidex.ini"));
  ASSERT_TRUE(ini.open(QIODevice::Append));
  ini.write(lines);
}

void raiseWharfAlert(ConsoleSession& session) {
  ASSERT_TRUE(session.openWharfMonitor()) << session.failure() << session.program.output().data();
  ASSERT_TRUE(
      session.sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  ASSERT_TRUE(waitUntil([&] { return !session.journalSummaries("alert").isEmpty(); }, 80s));
  ASSERT_EQ(session.journalSummaries("alert"), QStringList{kAlertLine});
}

QJsonArray webhookPosts(const SitesRunner& sites) {
  return QJsonDocument::fromJson(httpGet(sites.base() + "/_control/webhook/posts")).array();
}

int answered(const QJsonArray& posts, const QString& answer) {
  int count = 0;
  for (const auto& post : posts) count += post.toObject()["answer"].toString() == answer;
  return count;
}

QJsonArray postsOfKind(const QJsonArray& posts, const QString& kind) {
  QJsonArray found;
  for (const auto& post : posts) {
    if (post.toObject()["body"].toObject()["kind"].toString() == kind) found.append(post);
  }
  return found;
}

QJsonArray pings(const SitesRunner& sites) {
  return QJsonDocument::fromJson(httpGet(sites.base() + "/_control/pings")).array();
}

bool ownersAlone(const QString& path) {
  constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                               QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                               QFileDevice::WriteOther | QFileDevice::ExeOther;
  const QFileInfo info(path);
  return info.exists() && !(info.permissions() & kOthers);
}

}  // namespace tidex::e2e
