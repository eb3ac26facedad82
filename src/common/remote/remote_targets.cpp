#include "common/remote/remote_targets.h"

#include <algorithm>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include "common/settings/settings.h"
#include "common/text/text_codec.h"

namespace tidex {
namespace {

const QString kListSection = QStringLiteral("notify");
constexpr int kMostHeaders = 9;

QString sectionOf(const QString& name) { return QStringLiteral("notify ") + name; }

std::optional<DeliveryTarget::Kind> kindNamed(const QString& key) {
  for (const auto kind : {DeliveryTarget::Kind::Email, DeliveryTarget::Kind::Webhook,
                          DeliveryTarget::Kind::Apprise, DeliveryTarget::Kind::Heartbeat}) {
    if (KindKey(kind) == key.trimmed().toLower()) return kind;
  }
  return std::nullopt;
}

std::set<RemoteEventGroup> groupsIn(const QString& list) {
  std::set<RemoteEventGroup> groups;
  for (const QString& key : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    if (const auto group = GroupNamed(key)) groups.insert(*group);
  }
  return groups;
}

QString listOf(const std::set<RemoteEventGroup>& groups) {
  QStringList keys;
  for (const RemoteEventGroup group : groups) keys << GroupKey(group);
  return keys.join(QLatin1Char(','));
}

// The secret is kept as the IMCT account is: encoded, in the target's section.
QString readSecret(const QString& value) { return DecodeText(value).value_or(QString()); }

RemoteTarget readTarget(const QString& name, DeliveryTarget::Kind kind) {
  RemoteTarget target;
  target.name = name;
  target.delivery.kind = kind;
  target.events = {std::begin(kRemoteEventGroups), std::end(kRemoteEventGroups)};
  QString quiet;
  QString quietEvents;
  QString kept;
  for (const auto& [key, value] : ReadSection(sectionOf(name))) {
    const QString k = key.toLower();
    if (k == u"address") target.delivery.address = value;
    if (k == u"user") target.delivery.user = value;
    if (k == u"secret") kept = readSecret(value);
    if (k == u"from") target.delivery.sender = value;
    if (k == u"to") {
      for (const QString& to : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        target.delivery.recipients << to.trimmed();
      }
    }
    if (k == u"starttls") target.delivery.startTls = value.trimmed() == u"1";
    if (k == u"certificate") target.delivery.certificateFile = value.trimmed();
    if (k.startsWith(u"header") && value.contains(QLatin1Char(':'))) {
      const qsizetype colon = value.indexOf(QLatin1Char(':'));
      target.delivery.headers.append({value.left(colon).trimmed(), value.mid(colon + 1).trimmed()});
    }
    if (k == u"events") target.events = groupsIn(value);
    if (k == u"quiet") quiet = value;
    if (k == u"quietevents") quietEvents = value;
    if (k == u"summary") target.summary = value.trimmed();
    if (k == u"every") target.everyMinutes = value.trimmed().toInt();
    if (k == u"failsuffix") target.failSuffix = value.trimmed();
    if (k == u"keyring") target.secretInKeyring = value.trimmed() == u"1";
  }
  target.quiet = QuietPeriod::parse(quiet);
  if (target.quiet) target.quiet->groups = groupsIn(quietEvents);
  if (target.secretInKeyring) {
    target.secretKnown = false;
  } else if (!kept.isEmpty()) {
    target.takeKeptSecret(kept);
  }
  return target;
}

bool validName(const QString& name) {
  static const QRegularExpression kAllowed(QStringLiteral("^[\\w\\-. ]{1,40}$"),
                                           QRegularExpression::UseUnicodePropertiesOption);
  return kAllowed.match(name).hasMatch() && name.trimmed() == name;
}

// A relay on this computer: what goes there does not cross the network.
bool isLoopback(const QUrl& url) {
  static const QRegularExpression kLoopbackV4(QStringLiteral("^127(\\.\\d{1,3}){3}$"));
  const QString host = url.host().toLower();
  return host == u"localhost" || host == u"::1" || kLoopbackV4.match(host).hasMatch();
}

bool hasControlCharacter(const QString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool isWebAddress(const QString& text) {
  const QUrl url(text, QUrl::StrictMode);
  return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https") &&
         !url.host().isEmpty();
}

bool isMailServer(const QString& text) {
  const QUrl url(text, QUrl::StrictMode);
  return url.isValid() && (url.scheme() == u"smtp" || url.scheme() == u"smtps") &&
         !url.host().isEmpty();
}

// Printable ASCII only: a server without SMTPUTF8 refuses any other address for good.
bool isMailAddress(const QString& text) {
  static const QRegularExpression kAddress(QStringLiteral("^[!-~]+@[!-~]+$"));
  static const QRegularExpression kSeparator(QStringLiteral("[<>;,]"));
  return kAddress.match(text).hasMatch() && text.count(QLatin1Char('@')) == 1 &&
         !text.contains(kSeparator);
}

}  // namespace

bool QuietPeriod::holds(const QTime& time, RemoteEventGroup group) const {
  if (!groups.empty() && !groups.contains(group)) return false;
  if (start <= end) return start <= time && time < end;
  return time >= start || time < end;
}

QString QuietPeriod::text() const {
  return start.toString(QStringLiteral("HH:mm")) + QLatin1Char('-') +
         end.toString(QStringLiteral("HH:mm"));
}

std::optional<QuietPeriod> QuietPeriod::parse(const QString& text) {
  static const QRegularExpression kPeriod(
      QStringLiteral("^\\s*(\\d{1,2}:\\d{2})\\s*[-–~]\\s*(\\d{1,2}:\\d{2})\\s*$"));
  const auto match = kPeriod.match(text);
  if (!match.hasMatch()) return std::nullopt;
  QuietPeriod period;
  period.start = QTime::fromString(match.captured(1), QStringLiteral("H:mm"));
  period.end = QTime::fromString(match.captured(2), QStringLiteral("H:mm"));
  if (!period.start.isValid() || !period.end.isValid() || period.start == period.end) {
    return std::nullopt;
  }
  return period;
}

QString RemoteTarget::secret() const {
  return addressIsSecret() ? delivery.address : delivery.secret;
}

void RemoteTarget::setSecret(const QString& secret) {
  delivery.secret = secret;
  // An Apprise address holds its service's token: it is kept as the secret is.
  if (addressIsSecret()) delivery.address = secret;
}

QString RemoteTarget::keptSecret() const {
  if (delivery.kind != DeliveryTarget::Kind::Webhook) return secret();
  QJsonArray headers;
  for (const auto& [header, value] : delivery.headers) headers.append(QJsonArray{header, value});
  const QJsonObject kept{{QStringLiteral("address"), delivery.address},
                         {QStringLiteral("token"), delivery.secret},
                         {QStringLiteral("headers"), headers}};
  return QString::fromUtf8(QJsonDocument(kept).toJson(QJsonDocument::Compact));
}

void RemoteTarget::takeKeptSecret(const QString& kept) {
  const QJsonObject bundle = QJsonDocument::fromJson(kept.toUtf8()).object();
  // A webhook's secret kept before its address and headers were: the token alone.
  if (delivery.kind != DeliveryTarget::Kind::Webhook || !bundle.value(u"address").isString()) {
    return setSecret(kept);
  }
  delivery.address = bundle.value(u"address").toString();
  delivery.secret = bundle.value(u"token").toString();
  delivery.headers.clear();
  for (const auto& header : bundle.value(u"headers").toArray()) {
    const QJsonArray pair = header.toArray();
    delivery.headers.append({pair.at(0).toString(), pair.at(1).toString()});
  }
}

std::optional<QTime> RemoteTarget::summaryTime() const {
  const QTime time = QTime::fromString(summary, QStringLiteral("H:mm"));
  if (!time.isValid()) return std::nullopt;
  return time;
}

QString SecretKey(const QString& name) { return QStringLiteral("notify/") + name; }

bool RemoteTarget::addressIsSecret() const {
  return delivery.kind == DeliveryTarget::Kind::Apprise ||
         delivery.kind == DeliveryTarget::Kind::Heartbeat;
}

bool RemoteTarget::wants(RemoteEventKind kind, const QTime& time) const {
  if (kind == RemoteEventKind::Test) return true;
  if (delivery.kind == DeliveryTarget::Kind::Heartbeat) return false;
  const RemoteEventGroup group = GroupOf(kind);
  if (!events.contains(group)) return false;
  return !(quiet && quiet->holds(time, group));
}

QString KindKey(DeliveryTarget::Kind kind) {
  switch (kind) {
    case DeliveryTarget::Kind::Email:
      return QStringLiteral("email");
    case DeliveryTarget::Kind::Webhook:
      return QStringLiteral("webhook");
    case DeliveryTarget::Kind::Apprise:
      return QStringLiteral("apprise");
    case DeliveryTarget::Kind::Heartbeat:
      return QStringLiteral("heartbeat");
  }
  return {};
}

QString KindLabel(DeliveryTarget::Kind kind) {
  switch (kind) {
    case DeliveryTarget::Kind::Email:
      return QStringLiteral("電子郵件");
    case DeliveryTarget::Kind::Webhook:
      return QStringLiteral("Webhook");
    case DeliveryTarget::Kind::Apprise:
      return QStringLiteral("Apprise");
    case DeliveryTarget::Kind::Heartbeat:
      return QStringLiteral("心跳監測");
  }
  return {};
}

std::vector<RemoteTarget> ReadRemoteTargets() {
  std::vector<RemoteTarget> targets;
  for (const auto& [name, kindKey] : ReadSection(kListSection)) {
    const auto kind = kindNamed(kindKey);
    if (kind && validName(name)) targets.push_back(readTarget(name, *kind));
  }
  return targets;
}

bool AnyRemoteTarget() {
  for (const auto& [name, kindKey] : ReadSection(kListSection)) {
    if (kindNamed(kindKey) && validName(name)) return true;
  }
  return false;
}

std::optional<QString> CheckRemoteTarget(const RemoteTarget& target) {
  if (!validName(target.name)) {
    return QStringLiteral("名稱須為 1 至 40 個字母、數字、空格、點、底線或連字號。");
  }
  const DeliveryTarget& d = target.delivery;
  switch (d.kind) {
    case DeliveryTarget::Kind::Email:
      if (!isMailServer(d.address)) {
        return QStringLiteral(
            "郵件伺服器須為 smtp:// 或 smtps:// 位址，例如 "
            "smtps://smtp.example.com:465。");
      }
      if (!QUrl(d.address).userInfo().isEmpty()) {
        return QStringLiteral("帳號與密碼請填在「登入帳號」與「密碼或權杖」，不要寫在位址裡。");
      }
      if (!d.user.isEmpty() && QUrl(d.address).scheme() == u"smtp" && !d.startTls) {
        return QStringLiteral(
            "有登入帳號的郵件伺服器須用 smtps:// 或勾選「使用 STARTTLS」，"
            "否則密碼會以明文傳送。");
      }
      if (!isMailAddress(d.sender)) {
        return QStringLiteral("寄件者不是有效的電子郵件地址（只接受英數字位址）。");
      }
      if (!d.certificateFile.isEmpty() && !QFileInfo(d.certificateFile).isReadable()) {
        return QStringLiteral("無法讀取伺服器憑證檔「%1」。").arg(d.certificateFile);
      }
      if (d.recipients.isEmpty()) return QStringLiteral("請至少填一個收件者。");
      for (const QString& to : d.recipients) {
        if (!isMailAddress(to))
          return QStringLiteral("收件者「%1」不是有效的電子郵件地址（只接受英數字位址）。").arg(to);
      }
      break;
    case DeliveryTarget::Kind::Webhook:
      if (!isWebAddress(d.address)) {
        return QStringLiteral("Webhook 位址須為 http:// 或 https:// 位址。");
      }
      for (const auto& [name, value] : d.headers) {
        static const QRegularExpression kToken(QStringLiteral("^[A-Za-z0-9!#$%&'*+.^_`|~-]+$"));
        if (!kToken.match(name).hasMatch() || value.contains(QLatin1Char('\n')) ||
            value.contains(QLatin1Char('\r'))) {
          return QStringLiteral("標頭「%1」無效：每行須為「名稱: 值」。")
              .arg(name.isEmpty() ? value : name);
        }
      }
      if (d.headers.size() > kMostHeaders) return QStringLiteral("標頭最多 9 行。");
      if (const QUrl url(d.address);
          url.scheme() != u"https" && !isLoopback(url) &&
          (!d.secret.isEmpty() || !d.headers.isEmpty() || !url.userInfo().isEmpty())) {
        return QStringLiteral(
            "有權杖或標頭的 Webhook 須用 https:// 位址（本機 127.0.0.1 除外），"
            "否則權杖會以明文傳送。");
      }
      break;
    case DeliveryTarget::Kind::Apprise:
      if (!QRegularExpression(QStringLiteral("^[a-z][a-z0-9+.-]*://\\S+$"))
               .match(d.address)
               .hasMatch()) {
        return QStringLiteral("Apprise 位址須如 tgram://… 或 ntfy://…。");
      }
      break;
    case DeliveryTarget::Kind::Heartbeat: {
      static const QRegularExpression kSuffix(QStringLiteral("^[A-Za-z0-9/_.~?=&-]{0,40}$"));
      const QUrl url(d.address);
      if (!isWebAddress(d.address)) {
        return QStringLiteral("心跳監測位址須為 https:// 位址，例如 https://hc-ping.com/…。");
      }
      // The address is the service's token.
      if (url.scheme() != u"https" && !isLoopback(url)) {
        return QStringLiteral("心跳監測位址含有權杖，須用 https://（本機 127.0.0.1 除外）。");
      }
      if (target.everyMinutes < 1 || target.everyMinutes > 60) {
        return QStringLiteral("心跳間隔須為 1 至 60 分鐘。");
      }
      if (!kSuffix.match(target.failSuffix).hasMatch()) {
        return QStringLiteral("失敗時附加的路徑須如 /fail。");
      }
      return hasControlCharacter(d.address)
                 ? std::optional(QStringLiteral("位址不可含換行或控制字元。"))
                 : std::nullopt;
    }
  }
  if (hasControlCharacter(d.secret) || hasControlCharacter(d.address)) {
    return QStringLiteral("位址、密碼或權杖不可含換行或控制字元。");
  }
  if (!target.summary.isEmpty() && !target.summaryTime()) {
    return QStringLiteral("每日摘要時間須如 08:00。");
  }
  if (target.events.empty() && target.summary.isEmpty()) {
    return QStringLiteral("請至少選一種要通知的事件或每日摘要時間。");
  }
  return std::nullopt;
}

bool WriteRemoteTarget(const RemoteTarget& target) {
  const QString section = sectionOf(target.name);
  const DeliveryTarget& d = target.delivery;
  // What the kept secret holds is not written beside it.
  const bool addressIsSecret = d.kind != DeliveryTarget::Kind::Email;
  const QString kept = target.secretInKeyring ? QString() : target.keptSecret();
  if (!FitsSettingsFile(kept)) return false;
  bool written =
      WriteSetting(section, QStringLiteral("address"), addressIsSecret ? QString() : d.address) &&
      WriteSetting(section, QStringLiteral("user"), d.user) &&
      WriteSecretSetting(section, QStringLiteral("secret"), kept) &&
      WriteSetting(section, QStringLiteral("keyring"),
                   target.secretInKeyring ? QStringLiteral("1") : QStringLiteral("0")) &&
      WriteSetting(section, QStringLiteral("from"), d.sender) &&
      WriteSetting(section, QStringLiteral("to"), d.recipients.join(QLatin1Char(';'))) &&
      WriteSetting(section, QStringLiteral("starttls"),
                   d.startTls ? QStringLiteral("1") : QStringLiteral("0")) &&
      WriteSetting(section, QStringLiteral("events"), listOf(target.events)) &&
      WriteSetting(section, QStringLiteral("quiet"),
                   target.quiet ? target.quiet->text() : QString()) &&
      WriteSetting(section, QStringLiteral("quietevents"),
                   target.quiet ? listOf(target.quiet->groups) : QString()) &&
      WriteSetting(section, QStringLiteral("summary"), target.summary) &&
      (d.kind != DeliveryTarget::Kind::Heartbeat ||
       (WriteSetting(section, QStringLiteral("every"), QString::number(target.everyMinutes)) &&
        WriteSetting(section, QStringLiteral("failsuffix"), target.failSuffix))) &&
      RemoveSetting(section, QStringLiteral("certificate"));
  if (written && !d.certificateFile.isEmpty()) {
    written = WriteSetting(section, QStringLiteral("certificate"), d.certificateFile);
  }
  for (int i = 0; written && i < kMostHeaders; ++i) {
    written = RemoveSetting(section, QStringLiteral("header%1").arg(i + 1));
  }
  // Listed last: a target is never listed before its keys are written.
  return written && WriteSetting(kListSection, target.name, KindKey(d.kind));
}

bool RemoveRemoteTarget(const QString& name) {
  // Unlisted first: a half-done removal leaves no target in use.
  return RemoveSetting(kListSection, name) && RemoveSetting(sectionOf(name), QString());
}

}  // namespace tidex
