#include "customs_site_pages.h"

#include "big5_page.h"

namespace tidex::sites::customs_pages {
namespace {

QString registrationTable(const QString& registration) {
  return QStringLiteral("<table>\r\n<tr><td>船舶登記號碼</td><td>") + HtmlEscape(registration) +
         QStringLiteral("</td></tr>\r\n</table>\r\n");
}

}  // namespace

QByteArray Permits(const QString& registration, const std::vector<DischargePermit>& permits) {
  QString rows;
  int total = 0;
  int serial = 0;
  for (const DischargePermit& permit : permits) {
    rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\r\n")
                .arg(++serial)
                .arg(HtmlEscape(permit.location))
                .arg(permit.laden);
    total += permit.laden;
  }
  if (permits.empty()) rows = QStringLiteral("<tr><td colspan=\"3\">查無准單資料</td></tr>\r\n");
  // The total stands in angle brackets right after the colon, in the same line of text.
  return Big5Page(
      QStringLiteral("卸貨准單資料查詢"),
      QStringLiteral("<h3>船舶卸貨准單資料查詢</h3>\r\n") + registrationTable(registration) +
          QStringLiteral("<table border=\"1\" cellspacing=\"0\">\r\n"
                         "<tr><th>序號</th><th>卸存地點</th><th>實櫃數</th></tr>\r\n") +
          rows + QStringLiteral("</table>\r\n<p>實櫃總數：&lt;%1&gt;</p>\r\n").arg(total) +
          QStringLiteral("<p>資料起始筆數：1</p>\r\n"));
}

QByteArray Fees(const QString& registration, bool registered, int discharged) {
  const QString message =
      registered ? QStringLiteral("查詢成功") : QStringLiteral("查無規費登錄資料");
  return Big5Page(
      QStringLiteral("船舶規費登錄資料查詢"),
      QStringLiteral("<h3>船舶規費登錄資料查詢</h3>\r\n<p>查詢訊息：") + message +
          QStringLiteral("</p>\r\n") + registrationTable(registration) +
          QStringLiteral("<p>實卸貨櫃數含短卸：%1</p>\r\n").arg(registered ? discharged : 0));
}

QByteArray Busy() {
  return Big5Page(QStringLiteral("系統訊息"),
                  QStringLiteral("<p>系統忙碌中，請稍後再試。</p>\r\n"));
}

QByteArray ProcessingError() {
  return Big5Page(QStringLiteral("系統訊息"),
                  QStringLiteral("<p>錯誤訊息：程式邏輯處理不正確，請洽系統管理員。</p>\r\n"));
}

}  // namespace tidex::sites::customs_pages
