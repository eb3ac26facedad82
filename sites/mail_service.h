#pragma once

#include <vector>

#include <QByteArray>

#include "form_data.h"
#include "site_request.h"

namespace tidex::sites {

// The maker's notification form "/pda/mail.php": GET shows the form, a POST is a submission,
// recorded with its fields and answered with a thanks page.
class MailService {
 public:
  bool handles(const QByteArray& path) const { return path == "/pda/mail.php"; }
  SiteResponse handle(const SiteRequest& request);

  // Every submission, oldest first, its fields decoded from Big5 in the order sent.
  const std::vector<FormFields>& submissions() const { return submissions_; }
  // The submissions as a JSON array, one object per submission holding the first value of
  // each field: [{"name":"01VXXX YM HARMONY","mail":"PC1","namea":"...","submit":"送出"}].
  QByteArray submissionsJson() const;
  void clearSubmissions() { submissions_.clear(); }

  // Whether the thanks page offers the form again; off at start.
  void setAnswerOffersForm(bool on) { answerOffersForm_ = on; }
  // No submissions, the thanks page without the form.
  void reset();

 private:
  std::vector<FormFields> submissions_;
  bool answerOffersForm_ = false;
};

}  // namespace tidex::sites
