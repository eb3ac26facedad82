#include "board_page.h"

#include "big5_page.h"
#include "pilot_roster.h"

namespace tidex::sites {
namespace {

const QString kTitle = QStringLiteral("引水資訊看板");

QString cell(const QString& text) {
  return QStringLiteral("<td>") + HtmlEscape(text) + QStringLiteral("</td>");
}

QString input(const char* type, const char* name, const QString& value) {
  return QStringLiteral("<input type=\"%1\" name=\"%2\" value=\"%3\">")
      .arg(QLatin1String(type), QLatin1String(name), HtmlEscape(value));
}

QString searchForm(const BoardSearch& search) {
  return QStringLiteral("<form method=\"GET\" action=\"UA1006.ASP\" name=\"form1\">\r\n<p>碼頭 ") +
         input("text", "QSP_PORT", search.wharf) + QStringLiteral(" 船名 ") +
         input("text", "QSP_ENAME", search.vessel) + QLatin1Char(' ') +
         input("hidden", "QSP_ID", search.id) + input("hidden", "QSP_PAGID", search.pageId) +
         input("hidden", "SP_CALL", search.call) + input("hidden", "SEARCH", QStringLiteral("1")) +
         input("hidden", "iPage", search.page) +
         QStringLiteral(" <input type=\"submit\" name=\"OK\" value=\"搜尋\"></p>\r\n</form>\r\n");
}

// The pilot: number and name in one cell ("0037王大明"), or for a split row in two cells of a
// nested table, one above the other.
QString pilotCell(const VesselCall& call) {
  if (call.pilotNumber.isEmpty()) return cell(QStringLiteral("免引水"));
  const QString name =
      call.pilotNumber == u"0000" ? QStringLiteral("引水人") : PilotName(call.pilotNumber);
  if (!call.pilotSplit) return cell(call.pilotNumber + name);
  return QStringLiteral("<td><table><tr>") + cell(call.pilotNumber) + QStringLiteral("</tr><tr>") +
         cell(name) + QStringLiteral("</tr></table></td>");
}

QString row(const VesselCall& call) {
  return QStringLiteral("<tr>") + cell(call.vessel) + cell(call.wharf) +
         cell(call.bowThruster ? QStringLiteral("有") : QStringLiteral("無")) +
         cell(call.arrivalDate) + cell(call.arrivalTime) + cell(call.departureDate) +
         cell(call.departureTime) + cell(call.berth) + cell(call.status) + pilotCell(call) +
         cell(call.pilotRequired ? QStringLiteral("/Y") : QStringLiteral("/N")) +
         QStringLiteral("</tr>\r\n");
}

}  // namespace

QByteArray BoardPage(const BoardSearch& search, const std::vector<VesselCall>& rows) {
  QString body = QStringLiteral("<h2>") + kTitle + QStringLiteral(" (UA1006)</h2>\r\n") +
                 searchForm(search) +
                 QStringLiteral(
                     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\r\n<tr><th>船名</th>"
                     "<th>碼頭</th><th>艏推</th><th>抵港日期</th><th>抵港時間</th><th>離港日期</th>"
                     "<th>離港時間</th><th>船席</th><th>最近動態</th><th>引水人</th><th>引水</th>"
                     "</tr>\r\n");
  for (const VesselCall& call : rows) body += row(call);
  if (rows.empty()) body += QStringLiteral("<tr><td colspan=\"11\">查無資料</td></tr>\r\n");
  body += QStringLiteral("</table>\r\n");
  return Big5Page(kTitle, body);
}

QByteArray BoardErrorPage(int status) {
  return Big5Page(
      QStringLiteral("HTTP %1").arg(status),
      QStringLiteral("<h2>HTTP %1</h2><p>伺服器發生錯誤，無法顯示網頁。</p>").arg(status));
}

}  // namespace tidex::sites
