#pragma once

#include <QStringList>

#include "site_request.h"

namespace tidex::sites {

// The maker's web service: the remote batch list and the about page.
class MakerService {
 public:
  bool handles(const QByteArray& path) const;
  SiteResponse handle(const SiteRequest& request) const;

  // The registration numbers of the remote batch list, one per line.
  void setBatchList(const QStringList& lines) { batchList_ = lines; }
  const QStringList& batchList() const { return batchList_; }

 private:
  QStringList batchList_{QStringLiteral("CHECK")};
};

}  // namespace tidex::sites
