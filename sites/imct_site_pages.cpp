#include "imct_site_pages.h"

#include "big5_page.h"

namespace tidex::sites::imct_pages {
namespace {

const QString kQueryHeading = QStringLiteral("<h2>sp4100 進口貨櫃動態查詢</h2>\r\n");

QString titleHeading(bool title) {
  return title ? QStringLiteral("<h1>") + kServiceTitle + QStringLiteral("</h1>\r\n") : QString();
}

QString registrationLine(const QString& registration) {
  return QStringLiteral("<p>海關登記號碼 ") + HtmlEscape(registration) + QStringLiteral("</p>\r\n");
}

const QString kAgain = QStringLiteral("<p><a href=\"sp4100.jsp\">重新查詢</a></p>\r\n");

}  // namespace

QByteArray Login() {
  // The image button submits the same form by script. A browser without script follows
  // nothing (href="#") and logs in through the submit input.
  return Big5Page(
      QStringLiteral("IMCT 登入"),
      QStringLiteral(
          "<h2>IMCT 貨櫃動態 使用者登入</h2>\r\n"
          "<form name=\"loginForm\" method=\"post\" action=\"LoginCheck.jsp\">\r\n"
          "<table>\r\n"
          "<tr><td>USERID</td><td><input type=\"text\" name=\"UserName\" size=\"16\"></td></tr>\r\n"
          "<tr><td>PASSWORD</td><td><input type=\"password\" name=\"Passwd\" size=\"16\"></td>"
          "</tr>\r\n</table>\r\n"
          "<p><input type=\"submit\" value=\"登入\"> "
          "<a href=\"#\" onclick=\"document.forms['loginForm'].submit(); return false;\">"
          "<img src=\"img/ETP/button_etp_01.gif\" width=\"80\" height=\"24\" border=\"0\" "
          "alt=\"登入\"></a></p>\r\n</form>\r\n"));
}

QByteArray Menu(const QString& user) {
  return Big5Page(kServiceTitle,
                  titleHeading(true) + QStringLiteral("<p>使用者 ") + HtmlEscape(user) +
                      QStringLiteral(" 已登入</p>\r\n<ul>\r\n"
                                     "<li><a href=\"sp4100.jsp\">sp4100 進口貨櫃動態查詢</a>"
                                     "</li>\r\n<li><a href=\"Logout.jsp\">登出</a></li>\r\n"
                                     "</ul>\r\n"));
}

QByteArray LoginRefused() {
  return Big5Page(QStringLiteral("IMCT 登入"),
                  QStringLiteral("<h2>登入失敗</h2>\r\n<p>USERID or PASSWORD is Error</p>\r\n"
                                 "<p><a href=\"Login_etp.jsp\">重新登入</a></p>\r\n"));
}

QByteArray IllegalLogin() {
  return Big5Page(QStringLiteral("IMCT"),
                  QStringLiteral("<h2>非法登入</h2>\r\n<p>請先登入後再使用本系統。</p>\r\n"
                                 "<p><a href=\"Login_etp.jsp\">登入</a></p>\r\n"));
}

QByteArray QueryForm(bool title) {
  return Big5Page(
      QStringLiteral("sp4100"),
      titleHeading(title) + kQueryHeading +
          QStringLiteral("<form name=\"sp4100\" method=\"post\" action=\"sp4100.jsp\">\r\n"
                         "<p>海關登記號碼 <input type=\"text\" name=\"vesregno\" size=\"12\" "
                         "maxlength=\"12\"> <input type=\"submit\" value=\"查詢\"></p>\r\n"
                         "</form>\r\n"));
}

QByteArray NoData(const QString& registration, bool title) {
  return Big5Page(QStringLiteral("sp4100"), titleHeading(title) + kQueryHeading +
                                                registrationLine(registration) +
                                                QStringLiteral("<p>無符合資料</p>\r\n") + kAgain);
}

QByteArray Found(const QString& registration, const ImctFinding& finding, bool title) {
  // The vessel stands between "船名" and "船隻" with one blank either side.
  return Big5Page(
      QStringLiteral("sp4100"),
      titleHeading(title) + kQueryHeading + registrationLine(registration) +
          QStringLiteral("<p>船名 ") + HtmlEscape(finding.vessel) +
          QStringLiteral(" 船隻類別 貨櫃輪</p>\r\n<table border=\"1\" cellspacing=\"0\">\r\n"
                         "<tr><th>實櫃數</th><th>空櫃數</th></tr>\r\n<tr><td>%1</td><td>%2</td>"
                         "</tr>\r\n</table>\r\n")
              .arg(finding.laden)
              .arg(finding.empty) +
          kAgain);
}

QByteArray ButtonImage() {
  // GIF89a, 1x1, a two-colour table (navy, white), the one pixel in colour 0.
  static const unsigned char gif[] = {'G',  'I',  'F',  '8',  '9',  'a',  0x01, 0x00, 0x01,
                                      0x00, 0x80, 0x00, 0x00, 0x1F, 0x3A, 0x7A, 0xFF, 0xFF,
                                      0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                      0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  return QByteArray(reinterpret_cast<const char*>(gif), sizeof gif);
}

}  // namespace tidex::sites::imct_pages
