#include "imct_service.h"

#include <QRandomGenerator>

#include "big5_page.h"
#include "form_data.h"

namespace tidex::sites {
namespace {

const QByteArray kLoginPath = "/APIMCT/pages/Login_etp.jsp";
const QByteArray kLoginCheckPath = "/APIMCT/pages/LoginCheck.jsp";
const QByteArray kLogoutPath = "/APIMCT/pages/Logout.jsp";
const QByteArray kQueryPath = "/APIMCT/pages/sp4100.jsp";
const QByteArray kButtonPath = "/APIMCT/pages/img/ETP/button_etp_01.gif";

SiteResponse page(QByteArray body) { return {200, "text/html; charset=big5", std::move(body)}; }

QString registrationKey(const QString& registration) { return registration.trimmed().toUpper(); }

QByteArray newSessionId() {
  QByteArray id;
  for (int i = 0; i < 4; ++i) {
    id += QByteArray::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0');
  }
  return id.toUpper();
}

}  // namespace

const QByteArray ImctService::kSessionCookie = "JSESSIONID";

SiteResponse ImctService::handle(const SiteRequest& request) {
  if (request.path == kButtonPath) return {200, "image/gif", imct_pages::ButtonImage()};
  if (request.path == kLoginPath) return page(imct_pages::Login());
  if (request.path == kLoginCheckPath) return login(request);
  if (request.path == kQueryPath) return query(request);
  if (request.path == kLogoutPath) {
    for (const QByteArray& id : CookieValues(request.cookie, kSessionCookie)) sessions_.erase(id);
    return page(imct_pages::Login());
  }
  return {404, "text/html; charset=big5",
          Big5Page(QStringLiteral("404"), QStringLiteral("<p>找不到網頁</p>"))};
}

SiteResponse ImctService::login(const SiteRequest& request) {
  const FormFields fields = RequestFields(request);
  const std::optional<QString> user = FieldValue(fields, QStringLiteral("UserName"));
  const std::optional<QString> password = FieldValue(fields, QStringLiteral("Passwd"));
  if (user_.isEmpty() || user != user_ || password != password_) {
    return page(imct_pages::LoginRefused());
  }
  // A fresh session for every login; the one the browser held before stays valid until it
  // is expired.
  const QByteArray id = newSessionId();
  sessions_.insert(id);
  SiteResponse response = page(imct_pages::Menu(user_));
  response.headers.emplace_back("Set-Cookie",
                                kSessionCookie + '=' + id + "; Path=/APIMCT; HttpOnly");
  return response;
}

SiteResponse ImctService::query(const SiteRequest& request) {
  if (!inSession(request)) return page(imct_pages::IllegalLogin());
  const std::optional<QString> number =
      FieldValue(RequestFields(request), QStringLiteral("vesregno"));
  if (!number) return page(imct_pages::QueryForm(titleOnQueryPages_));
  const QString shown = number->trimmed();
  const QString key = registrationKey(shown);
  const auto first = firstQueries_.try_emplace(key, now()).first->second;
  if (const auto delayed = delayedFindings_.find(key);
      delayed != delayedFindings_.end() && now() - first >= delayed->second.delay) {
    findings_[key] = delayed->second.finding;
    delayedFindings_.erase(delayed);
  }
  const auto finding = findings_.find(key);
  if (finding == findings_.end()) return page(imct_pages::NoData(shown, titleOnQueryPages_));
  return page(imct_pages::Found(shown, finding->second, titleOnQueryPages_));
}

bool ImctService::inSession(const SiteRequest& request) const {
  for (const QByteArray& id : CookieValues(request.cookie, kSessionCookie)) {
    if (sessions_.contains(id)) return true;
  }
  return false;
}

void ImctService::setAccount(const QString& user, const QString& password) {
  user_ = user;
  password_ = password;
}

void ImctService::setFinding(const QString& registration, const ImctFinding& finding) {
  delayedFindings_.erase(registrationKey(registration));
  findings_[registrationKey(registration)] = finding;
}

void ImctService::setNoData(const QString& registration) {
  delayedFindings_.erase(registrationKey(registration));
  findings_.erase(registrationKey(registration));
}

void ImctService::setFindingAfterFirstQuery(const QString& registration, const ImctFinding& finding,
                                            std::chrono::seconds delay) {
  findings_.erase(registrationKey(registration));
  delayedFindings_[registrationKey(registration)] = {finding, delay};
}

void ImctService::reset() {
  setAccount(QStringLiteral("TIDEX"), QStringLiteral("PASS"));
  findings_.clear();
  delayedFindings_.clear();
  firstQueries_.clear();
  sessions_.clear();
  titleOnQueryPages_ = false;
}

}  // namespace tidex::sites
