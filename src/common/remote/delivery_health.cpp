#include "common/remote/delivery_health.h"

#include "common/text/date_text.h"

namespace tidex {
namespace {

QString failureText(const DeliveryOutcome& outcome) {
  using Failure = DeliveryOutcome::Failure;
  switch (outcome.failure) {
    case Failure::Unreachable:
      return QStringLiteral("無法連線到伺服器");
    case Failure::Timeout:
      return QStringLiteral("伺服器在時限內沒有回應");
    case Failure::Secure:
      return QStringLiteral("無法建立安全連線（TLS 或伺服器憑證有誤）");
    case Failure::Login:
      return QStringLiteral("伺服器拒絕登入帳號或密碼");
    case Failure::Refused:
      return outcome.code ? QStringLiteral("伺服器拒收（代碼 %1）").arg(outcome.code)
                          : QStringLiteral("伺服器拒收");
    case Failure::Redirect:
      return QStringLiteral("伺服器要求轉址，不予跟隨");
    case Failure::Unusable:
      return QStringLiteral("對象設定無法使用");
    case Failure::None:
    case Failure::Other:
      break;
  }
  return QStringLiteral("傳送失敗");
}

}  // namespace

void DeliveryHealth::delivered(const QDateTime& now) {
  lastDelivered = now;
  failingSince = QDateTime();
  failedTries = 0;
  lastError.clear();
  told = false;
  backOffUntil = QDateTime();
}

void DeliveryHealth::failed(const QDateTime& now, const QString& error,
                            std::chrono::seconds backOff) {
  if (!failing()) failingSince = now;
  ++failedTries;
  lastError = error;
  // To the second, as the queue keeps its times.
  backOffUntil = now.addSecs(backOff.count());
  backOffUntil.setTime(QTime(backOffUntil.time().hour(), backOffUntil.time().minute(),
                             backOffUntil.time().second()));
}

QString DeliveryHealth::text(const QDateTime& now) const {
  if (failing()) {
    return QStringLiteral("自 %1 起無法傳送（%2 次）：%3")
        .arg(MomentText(failingSince, now))
        .arg(failedTries)
        .arg(lastError);
  }
  if (lastDelivered.isValid()) {
    return QStringLiteral("%1 已送達").arg(MomentText(lastDelivered, now));
  }
  return QString();
}

QString FailureSentence(const DeliveryOutcome& outcome) {
  const QString detail = outcome.detail.trimmed();
  const QString sentence = failureText(outcome);
  if (detail.isEmpty() || detail == sentence) return sentence;
  return sentence + QStringLiteral("（") + detail + QStringLiteral("）");
}

}  // namespace tidex
