#include "maker_service.h"

#include "big5_page.h"

namespace tidex::sites {

bool MakerService::handles(const QByteArray& path) const {
  return path == "/pda/Tidex_var.php" || path == "/pda/Tidex_about.php";
}

SiteResponse MakerService::handle(const SiteRequest& request) const {
  if (request.path == "/pda/Tidex_var.php") {
    QString body;
    for (const QString& line : batchList_) body += HtmlEscape(line) + QStringLiteral("<br>\r\n");
    return {200, "text/html; charset=big5", Big5Page(QStringLiteral("Tidex_var"), body)};
  }
  return {200, "text/html; charset=big5",
          Big5Page(QStringLiteral("關於"),
                   QStringLiteral(
                       "<h1>港區動態監看</h1><p>碼頭、船名、海掛與自訂查詢的無人值守監看。</p>"))};
}

}  // namespace tidex::sites
