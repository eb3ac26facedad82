#pragma once

#include <map>
#include <optional>

#include <QStringList>

#include "board_service.h"
#include "customs_service.h"
#include "imct_service.h"
#include "mail_service.h"
#include "maker_service.h"
#include "service_faults.h"
#include "site_request.h"

namespace tidex::sites {

// All simulated port services behind one address; their paths do not collide.
class PortSites final : public WebServer {
 public:
  // Answers request and adds it to the request log, unless the connection is refused.
  SiteResponse handle(const SiteRequest& request) override;
  // Answers request without a line in the log: for a request already logged and held back.
  SiteResponse respond(const SiteRequest& request) override;

  MakerService& maker() { return maker_; }
  MailService& mail() { return mail_; }
  ImctService& imct() { return imct_; }
  BoardService& board() { return board_; }
  CustomsService& customs() { return customs_; }
  // Puts a fault on a service, replacing the one it had; Fault::None ends it. With match, only
  // requests whose path, raw query or body holds those bytes meet the fault. With times, the
  // fault ends after that many requests have met it (a held request asked again counts once).
  void setFault(Service service, Fault fault, QByteArray match = {}, int times = 0);
  void clearFaults() { faults_.clear(); }
  Fault faultOf(Service service) const;
  // Serves response for path (any method and query), ahead of the services; for tests.
  void addPage(const QByteArray& path, SiteResponse response) {
    pages_[path] = std::move(response);
  }
  // The service answers path again.
  void removePage(const QByteArray& path) { pages_.erase(path); }
  // "GET /pda/Tidex_var.php" lines, oldest first; a refused connection leaves no line.
  const QStringList& requestLog() const { return log_; }

 private:
  MakerService maker_;
  MailService mail_;
  ImctService imct_;
  BoardService board_;
  CustomsService customs_;
  struct FaultSetting {
    Fault fault = Fault::None;
    QByteArray match;
    int remaining = 0;  // requests still to meet it; 0: no end
  };
  std::optional<Service> serviceOf(const QByteArray& path) const;
  SiteResponse answer(Service service, const SiteRequest& request);
  // fresh: a request not seen before, which uses up one of a counted fault's times.
  SiteResponse respond(const SiteRequest& request, bool fresh);
  // The fault this request meets on its service.
  Fault faultFor(Service service, const SiteRequest& request, bool fresh);

  std::map<QByteArray, SiteResponse> pages_;
  std::map<Service, FaultSetting> faults_;
  QStringList log_;
};

}  // namespace tidex::sites
