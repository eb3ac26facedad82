#include "mail_service.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "big5_page.h"

namespace tidex::sites {
namespace {

// "namea" is hidden: it carries the pilot-board lines, which a text input would join into one.
const QString kForm = QStringLiteral(
    "<form name=\"mailForm\" method=\"post\" action=\"mail.php\">\r\n"
    "<p>登記號碼與船名 <input type=\"text\" name=\"name\" size=\"40\"></p>\r\n"
    "<p>電腦名稱 <input type=\"text\" name=\"mail\" size=\"20\"></p>\r\n"
    "<p><input type=\"hidden\" name=\"namea\" value=\"\">"
    "<input type=\"submit\" name=\"submit\" value=\"送出\"></p>\r\n</form>\r\n");

}  // namespace

SiteResponse MailService::handle(const SiteRequest& request) {
  if (request.method != "POST") {
    return {200, "text/html; charset=big5",
            Big5Page(QStringLiteral("Tidex 到櫃通知"),
                     QStringLiteral("<h2>Tidex 到櫃通知</h2>\r\n") + kForm)};
  }
  submissions_.push_back(ParseFormData(request.body));
  const QString name = FieldValue(submissions_.back(), QStringLiteral("name")).value_or(QString());
  QString body = QStringLiteral("<h2>通知已送出</h2>\r\n<p>") + HtmlEscape(name) +
                 QStringLiteral("</p>\r\n<p>謝謝使用。</p>\r\n");
  if (answerOffersForm_) body += kForm;
  return {200, "text/html; charset=big5", Big5Page(QStringLiteral("Tidex 通知已送出"), body)};
}

QByteArray MailService::submissionsJson() const {
  QJsonArray all;
  for (const FormFields& fields : submissions_) {
    QJsonObject object;
    for (const auto& [key, value] : fields) {
      if (!object.contains(key)) object.insert(key, value);
    }
    all.append(object);
  }
  return QJsonDocument(all).toJson(QJsonDocument::Compact) + '\n';
}

void MailService::reset() {
  submissions_.clear();
  answerOffersForm_ = false;
}

}  // namespace tidex::sites
