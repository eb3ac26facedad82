#pragma once

#include <map>
#include <vector>

#include <QByteArray>

#include "port_sites.h"

namespace tidex::sites {

// A request as it reached the services; target is its path and query exactly as sent.
struct ReceivedRequest {
  QByteArray method;
  QByteArray target;
  QByteArray body;
};

// Pages that end-to-end tests put up ahead of the services, each answered after a delay of its
// own, and the record of every request the services received.
class TestPages {
 public:
  explicit TestPages(PortSites& sites) : sites_(sites) {}

  // Serves page for path (any method and query), replacing what path had.
  void put(const QByteArray& path, SiteResponse page, int delayMs);
  bool has(const QByteArray& path) const { return delays_.contains(path); }
  // How long the answer for path is held back; 0 for a path not put up here.
  int delayMs(const QByteArray& path) const;

  void record(ReceivedRequest request) { received_.push_back(std::move(request)); }
  // The record, oldest first, one JSON object a line:
  //   {"body":"<base64>","method":"POST","target":"/x?q=%B7j"}
  // target holds its bytes as Latin-1 characters (JSON text is UTF-8).
  QByteArray receivedJsonLines() const;

 private:
  PortSites& sites_;
  std::map<QByteArray, int> delays_;
  std::vector<ReceivedRequest> received_;
};

}  // namespace tidex::sites
