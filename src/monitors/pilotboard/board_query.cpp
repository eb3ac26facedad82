#include "monitors/pilotboard/board_query.h"

namespace tidex {

QString BoardQuery(const QString& server, const QString& vesselName, const QString& wharfCode) {
  return server + QStringLiteral("/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=") + vesselName +
         QStringLiteral("&QSP_PORT=") + wharfCode +
         QStringLiteral("&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M");
}

}  // namespace tidex
