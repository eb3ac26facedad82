#pragma once

#include <QStringList>

#include "maker_service.h"
#include "site_request.h"

namespace tidex::sites {

// All simulated port services behind one address; their paths do not collide.
class PortSites {
 public:
  SiteResponse handle(const SiteRequest& request);

  MakerService& maker() { return maker_; }
  // "GET /pda/Tidex_var.php" lines, oldest first.
  const QStringList& requestLog() const { return log_; }

 private:
  MakerService maker_;
  QStringList log_;
};

}  // namespace tidex::sites
