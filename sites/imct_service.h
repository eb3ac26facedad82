#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <set>

#include <QByteArray>
#include <QString>

#include "imct_site_pages.h"
#include "site_request.h"

namespace tidex::sites {

// The IMCT container verification service under "/APIMCT/pages/": a login that opens a
// session kept in the JSESSIONID cookie, and the registration query "sp4100.jsp", which answers
// only within a session. Tests and the demo set the account and the answers.
class ImctService {
 public:
  ImctService() { reset(); }

  static const QByteArray kSessionCookie;  // "JSESSIONID"

  bool handles(const QByteArray& path) const { return path.startsWith("/APIMCT/"); }
  SiteResponse handle(const SiteRequest& request);

  // The one account the login accepts, compared exactly; TIDEX / PASS at start. Sessions
  // already open stay open.
  void setAccount(const QString& user, const QString& password);
  // What the query answers for a registration number (any case, blanks around ignored).
  // A number without a finding answers "無符合資料".
  void setFinding(const QString& registration, const ImctFinding& finding);
  void setNoData(const QString& registration);
  // The finding, answered once `delay` has passed since the first query for the number (the
  // first query made before or after this call): however late a user asks first, the first
  // answer is "無符合資料" and a later one the finding.
  void setFindingAfterFirstQuery(const QString& registration, const ImctFinding& finding,
                                 std::chrono::seconds delay);
  // The clock of those delays (the steady clock unless a test sets another).
  std::function<std::chrono::steady_clock::time_point()> now = [] {
    return std::chrono::steady_clock::now();
  };
  // Ends every session: the query answers "非法登入" until the next login.
  void expireSessions() { sessions_.clear(); }
  int sessionCount() const { return static_cast<int>(sessions_.size()); }
  // Whether the query page and its answers show the service title in their heading; off at
  // start, as a client that opens the query page on seeing the title would otherwise loop.
  void setTitleOnQueryPages(bool on) { titleOnQueryPages_ = on; }
  // The account TIDEX / PASS, no findings, no sessions, no title on the query pages.
  void reset();

 private:
  SiteResponse login(const SiteRequest& request);
  SiteResponse query(const SiteRequest& request);
  bool inSession(const SiteRequest& request) const;

  QString user_;
  QString password_;
  std::map<QString, ImctFinding> findings_;  // by upper-cased, trimmed registration number
  struct DelayedFinding {
    ImctFinding finding;
    std::chrono::seconds delay;
  };
  std::map<QString, DelayedFinding> delayedFindings_;  // keyed as findings_
  std::map<QString, std::chrono::steady_clock::time_point> firstQueries_;
  std::set<QByteArray> sessions_;
  bool titleOnQueryPages_ = false;
};

}  // namespace tidex::sites
