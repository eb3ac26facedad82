#include "common/remote/remote_event.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

QString kindKey(RemoteEventKind kind) {
  switch (kind) {
    case RemoteEventKind::Alert:
      return QStringLiteral("alert");
    case RemoteEventKind::Finding:
      return QStringLiteral("finding");
    case RemoteEventKind::Blind:
      return QStringLiteral("blind");
    case RemoteEventKind::ReadsAgain:
      return QStringLiteral("reads-again");
    case RemoteEventKind::EngineOutage:
      return QStringLiteral("engine-outage");
    case RemoteEventKind::EngineBack:
      return QStringLiteral("engine-back");
    case RemoteEventKind::LoginRefused:
      return QStringLiteral("login-refused");
    case RemoteEventKind::TargetFailing:
      return QStringLiteral("target-failing");
    case RemoteEventKind::TargetBack:
      return QStringLiteral("target-back");
    case RemoteEventKind::ProgramStarted:
      return QStringLiteral("program-started");
    case RemoteEventKind::ProgramEnding:
      return QStringLiteral("program-ending");
    case RemoteEventKind::Summary:
      return QStringLiteral("summary");
    case RemoteEventKind::Test:
      return QStringLiteral("test");
  }
  return {};
}

QString subjectOf(const RemoteEvent& e) {
  switch (e.kind) {
    case RemoteEventKind::Alert:
      return QStringLiteral("Tidex 變更：%1").arg(e.caption);
    case RemoteEventKind::Finding:
      return QStringLiteral("Tidex 查到准單：%1").arg(e.caption);
    case RemoteEventKind::Blind:
      return QStringLiteral("Tidex 無法讀取：%1").arg(e.caption);
    case RemoteEventKind::ReadsAgain:
      return QStringLiteral("Tidex 恢復讀取：%1").arg(e.caption);
    case RemoteEventKind::EngineOutage:
      return QStringLiteral("Tidex 瀏覽器引擎無法載入網頁");
    case RemoteEventKind::EngineBack:
      return QStringLiteral("Tidex 瀏覽器引擎恢復");
    case RemoteEventKind::LoginRefused:
      return QStringLiteral("Tidex IMCT 登入遭拒");
    case RemoteEventKind::TargetFailing:
      return QStringLiteral("Tidex 通知對象無法傳送：%1").arg(e.caption);
    case RemoteEventKind::TargetBack:
      return QStringLiteral("Tidex 通知對象恢復傳送：%1").arg(e.caption);
    case RemoteEventKind::ProgramStarted:
      return QStringLiteral("Tidex 已啟動：%1").arg(e.caption);
    case RemoteEventKind::ProgramEnding:
      return QStringLiteral("Tidex 即將結束：%1").arg(e.caption);
    case RemoteEventKind::Summary:
      return e.caption;
    case RemoteEventKind::Test:
      return QStringLiteral("Tidex 測試通知");
  }
  return {};
}

QString firstLineOf(const RemoteEvent& e) {
  switch (e.kind) {
    case RemoteEventKind::Finding:
      return QStringLiteral("准單 %1 已查到：%2").arg(e.caption, e.summary);
    case RemoteEventKind::EngineOutage:
      return QStringLiteral("瀏覽器引擎無法載入網頁，程式將持續重試。");
    case RemoteEventKind::EngineBack:
      return QStringLiteral("瀏覽器引擎已恢復載入網頁。");
    case RemoteEventKind::LoginRefused:
      return QStringLiteral("%1：IMCT 帳號或密碼錯誤，程式已結束。").arg(e.caption);
    case RemoteEventKind::Test:
      return QStringLiteral("這是 Tidex 的測試通知。");
    case RemoteEventKind::ProgramStarted:
      return QStringLiteral("Tidex 已在 %1 啟動。%2").arg(e.caption, e.summary);
    case RemoteEventKind::ProgramEnding:
      return QStringLiteral("Tidex 在 %1 結束：%2").arg(e.caption, e.summary);
    case RemoteEventKind::Summary:
      return e.summary;
    default:
      return e.caption + QStringLiteral("：") + e.summary;
  }
}

}  // namespace

RemoteEventGroup GroupOf(RemoteEventKind kind) {
  switch (kind) {
    case RemoteEventKind::Finding:
      return RemoteEventGroup::Finding;
    case RemoteEventKind::Blind:
    case RemoteEventKind::ReadsAgain:
      return RemoteEventGroup::Blind;
    case RemoteEventKind::EngineOutage:
    case RemoteEventKind::EngineBack:
      return RemoteEventGroup::Engine;
    case RemoteEventKind::LoginRefused:
      return RemoteEventGroup::Login;
    case RemoteEventKind::TargetFailing:
    case RemoteEventKind::TargetBack:
      return RemoteEventGroup::Delivery;
    case RemoteEventKind::ProgramStarted:
    case RemoteEventKind::ProgramEnding:
      return RemoteEventGroup::Program;
    default:
      return RemoteEventGroup::Alert;
  }
}

QString GroupKey(RemoteEventGroup group) {
  switch (group) {
    case RemoteEventGroup::Alert:
      return QStringLiteral("alert");
    case RemoteEventGroup::Finding:
      return QStringLiteral("finding");
    case RemoteEventGroup::Blind:
      return QStringLiteral("blind");
    case RemoteEventGroup::Engine:
      return QStringLiteral("engine");
    case RemoteEventGroup::Login:
      return QStringLiteral("login");
    case RemoteEventGroup::Delivery:
      return QStringLiteral("delivery");
    case RemoteEventGroup::Program:
      return QStringLiteral("program");
  }
  return {};
}

std::optional<RemoteEventGroup> GroupNamed(const QString& key) {
  for (const RemoteEventGroup group : kRemoteEventGroups) {
    if (GroupKey(group) == key.trimmed().toLower()) return group;
  }
  return std::nullopt;
}

QString GroupLabel(RemoteEventGroup group) {
  switch (group) {
    case RemoteEventGroup::Alert:
      return QStringLiteral("監看警示");
    case RemoteEventGroup::Finding:
      return QStringLiteral("查到准單");
    case RemoteEventGroup::Blind:
      return QStringLiteral("無法讀取與恢復");
    case RemoteEventGroup::Engine:
      return QStringLiteral("瀏覽器引擎中斷與恢復");
    case RemoteEventGroup::Login:
      return QStringLiteral("IMCT 登入遭拒");
    case RemoteEventGroup::Delivery:
      return QStringLiteral("通知對象失效與恢復");
    case RemoteEventGroup::Program:
      return QStringLiteral("程式啟動與結束");
  }
  return {};
}

RemoteEvent MakeRemoteEvent(RemoteEventKind kind, const QString& caption, const QString& summary,
                            const QString& before, const QString& after) {
  return {QUuid::createUuid().toString(QUuid::WithoutBraces),
          kind,
          Desktop::current().now(),
          caption,
          summary,
          before,
          after};
}

std::optional<RemoteEventKind> RemoteKindOfJournalEvent(const QString& event) {
  if (event == QLatin1String(journal::event::kAlert)) return RemoteEventKind::Alert;
  if (event == QLatin1String(journal::event::kFound)) return RemoteEventKind::Finding;
  if (event == QLatin1String(journal::event::kBlind)) return RemoteEventKind::Blind;
  if (event == QLatin1String(journal::event::kReadsAgain)) return RemoteEventKind::ReadsAgain;
  if (event == QLatin1String(journal::event::kLoginFailure)) return RemoteEventKind::LoginRefused;
  if (event == QLatin1String(journal::event::kTargetFailing)) return RemoteEventKind::TargetFailing;
  if (event == QLatin1String(journal::event::kTargetDelivers)) return RemoteEventKind::TargetBack;
  return std::nullopt;
}

bool IsAboutTarget(RemoteEventKind kind) {
  return kind == RemoteEventKind::TargetFailing || kind == RemoteEventKind::TargetBack;
}

DeliveryMessage ComposeMessage(const RemoteEvent& e) {
  const QString time = e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  QString text = firstLineOf(e) + QLatin1Char('\n');
  if (!e.before.isEmpty() || !e.after.isEmpty()) {
    text += QStringLiteral("變更前：%1\n變更後：%2\n").arg(e.before, e.after);
  }
  text += QStringLiteral("時間：%1\n").arg(time);

  QJsonObject json{{QStringLiteral("id"), e.id},
                   {QStringLiteral("kind"), kindKey(e.kind)},
                   {QStringLiteral("time"), e.time.toString(Qt::ISODate)},
                   {QStringLiteral("caption"), e.caption},
                   {QStringLiteral("summary"), e.summary}};
  if (!e.before.isEmpty() || !e.after.isEmpty()) {
    json.insert(QStringLiteral("before"), e.before);
    json.insert(QStringLiteral("after"), e.after);
  }
  return {e.id, subjectOf(e), text, QJsonDocument(json).toJson(QJsonDocument::Compact)};
}

}  // namespace tidex
