#include "customs_service.h"

#include <QStringList>

#include "big5_page.h"
#include "form_data.h"

namespace tidex::sites {
namespace {

const QByteArray kPermitPath = "/DGOC/sea/sea/ISL000I3.jsp";
const QByteArray kFeePath = "/DGOC/sea/sea/IS1T01W.jsp";
constexpr int kMostContainers = 99'999;

SiteResponse page(QByteArray body) { return {200, "text/html; charset=big5", std::move(body)}; }

QString registrationKey(const QString& registration) { return registration.trimmed().toUpper(); }

}  // namespace

SiteResponse CustomsService::handle(const SiteRequest& request) const {
  const bool permits = request.path == kPermitPath;
  if (!permits && request.path != kFeePath) {
    return {404, "text/html; charset=big5",
            Big5Page(QStringLiteral("404"), QStringLiteral("<p>找不到網頁</p>"))};
  }
  const QString shown = FieldValue(RequestFields(request), QStringLiteral("vsl_reg_no"))
                            .value_or(QString())
                            .trimmed();
  const auto found = calls_.find(registrationKey(shown));
  const VesselCall call = found == calls_.end() ? VesselCall{} : found->second;
  switch (permits ? call.permitTrouble : call.feeTrouble) {
    case CustomsTrouble::Busy:
      return page(customs_pages::Busy());
    case CustomsTrouble::ProcessingError:
      return page(customs_pages::ProcessingError());
    case CustomsTrouble::None:
      break;
  }
  if (permits) return page(customs_pages::Permits(shown, call.permits));
  int discharged = 0;
  for (const DischargePermit& permit : call.permits) discharged += permit.laden;
  return page(customs_pages::Fees(shown, call.feesRegistered, discharged));
}

void CustomsService::setPermits(const QString& registration, std::vector<DischargePermit> permits) {
  calls_[registrationKey(registration)].permits = std::move(permits);
}

void CustomsService::setFeesRegistered(const QString& registration, bool registered) {
  calls_[registrationKey(registration)].feesRegistered = registered;
}

void CustomsService::setTrouble(const QString& registration, CustomsQuery query,
                                CustomsTrouble trouble) {
  VesselCall& call = calls_[registrationKey(registration)];
  (query == CustomsQuery::Permits ? call.permitTrouble : call.feeTrouble) = trouble;
}

std::optional<std::vector<DischargePermit>> ParsePermits(const QString& text) {
  std::vector<DischargePermit> permits;
  if (text.isEmpty()) return permits;
  for (const QString& item : text.split(QLatin1Char(','))) {
    const QStringList parts = item.split(QLatin1Char(':'));
    bool ok = false;
    const int laden = parts.value(1).toInt(&ok);
    if (parts.size() != 2 || parts[0].trimmed().isEmpty() || !ok || laden < 0 ||
        laden > kMostContainers) {
      return std::nullopt;
    }
    permits.push_back({parts[0].trimmed(), laden});
  }
  return permits;
}

}  // namespace tidex::sites
