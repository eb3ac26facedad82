#pragma once

#include <QByteArray>
#include <QString>

namespace tidex::sites {

// One HTTP request as the services see it; the query and body stay raw bytes (Big5 forms).
struct SiteRequest {
  QByteArray method = "GET";
  QByteArray path;
  QByteArray query;
  QByteArray body;
};

struct SiteResponse {
  int status = 200;
  QByteArray contentType = "text/html; charset=big5";
  QByteArray body;
};

}  // namespace tidex::sites
