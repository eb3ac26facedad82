#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "customs_site_pages.h"
#include "site_request.h"

namespace tidex::sites {

// The two queries of the customs authority's vessel database.
enum class CustomsQuery { Permits, Fees };

// What a query answers in place of its own page.
enum class CustomsTrouble { None, Busy, ProcessingError };

// The customs authority's public vessel database under "/DGOC/": the discharge permits of a
// vessel call ("ISL000I3.jsp") and its port fees ("IS1T01W.jsp"), both asked for by
// registration number in vsl_reg_no. A number nothing was set for has no laden containers and
// no registered fees. Numbers are matched in any case, blanks around ignored.
class CustomsService {
 public:
  bool handles(const QByteArray& path) const { return path.startsWith("/DGOC/"); }
  SiteResponse handle(const SiteRequest& request) const;

  // The permits the permit query lists for the number; their laden containers add up to the
  // total it shows. No permits, or none with laden containers: "no laden containers".
  void setPermits(const QString& registration, std::vector<DischargePermit> permits);
  void setFeesRegistered(const QString& registration, bool registered);
  // One query of the number answers the busy page or the processing-error page until set back
  // to None.
  void setTrouble(const QString& registration, CustomsQuery query, CustomsTrouble trouble);
  // Nothing set for any number.
  void reset() { calls_.clear(); }

 private:
  struct VesselCall {
    std::vector<DischargePermit> permits;
    bool feesRegistered = false;
    CustomsTrouble permitTrouble = CustomsTrouble::None;
    CustomsTrouble feeTrouble = CustomsTrouble::None;
  };

  std::map<QString, VesselCall> calls_;  // by upper-cased, trimmed registration number
};

// Permits written "KHH1080:12,KHH2010:3" (location, colon, laden containers 0 to 99999, comma
// between permits); the empty text is no permits. Nullopt for anything else.
std::optional<std::vector<DischargePermit>> ParsePermits(const QString& text);

}  // namespace tidex::sites
