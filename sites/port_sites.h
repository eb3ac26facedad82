#pragma once

#include <map>

#include <QStringList>

#include "board_service.h"
#include "customs_service.h"
#include "imct_service.h"
#include "mail_service.h"
#include "maker_service.h"
#include "site_request.h"

namespace tidex::sites {

// All simulated port services behind one address; their paths do not collide.
class PortSites {
 public:
  // Answers request and adds it to the request log, unless the connection is refused.
  SiteResponse handle(const SiteRequest& request);
  // Answers request without a line in the log: for a request already logged and held back.
  SiteResponse respond(const SiteRequest& request);

  MakerService& maker() { return maker_; }
  MailService& mail() { return mail_; }
  ImctService& imct() { return imct_; }
  BoardService& board() { return board_; }
  CustomsService& customs() { return customs_; }
  // Serves response for path (any method and query), ahead of the services; for tests.
  void addPage(const QByteArray& path, SiteResponse response) {
    pages_[path] = std::move(response);
  }
  // "GET /pda/Tidex_var.php" lines, oldest first; a refused connection leaves no line.
  const QStringList& requestLog() const { return log_; }

 private:
  MakerService maker_;
  MailService mail_;
  ImctService imct_;
  BoardService board_;
  CustomsService customs_;
  std::map<QByteArray, SiteResponse> pages_;
  QStringList log_;
};

}  // namespace tidex::sites
