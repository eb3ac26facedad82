#include "common/alerting/desktop_notice.h"
#include "common/imct/imct_login.h"
#include "common/imct/imct_pages.h"
#include "common/journal/journal.h"
#include "common/page/element_scan.h"
#include "common/page/page_wait.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/date_text.h"
#include "monitors/registration/answer_lines.h"
#include "monitors/registration/registration_monitor.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

QString loadFailure(const LoadResult& load) {
  if (load.unread) return QStringLiteral("網頁無法讀取");
  if (load.httpStatus != 0) return QStringLiteral("HTTP %1").arg(load.httpStatus);
  return QStringLiteral("無法連線");
}

bool isLoginForm(HtmlDocument& page) {
  bool login = false;
  ScanInputs(page, [&](HtmlElement& input) {
    login = login || input.Name() == QStringLiteral("UserName") ||
            input.Name() == QStringLiteral("Passwd");
  });
  return login;
}

bool isAnswer(const QString& text) {
  return text.contains(QStringLiteral("實櫃數")) || text.contains(QStringLiteral("空櫃數")) ||
         text.contains(QStringLiteral("無符合資料"));
}

}  // namespace

Task RegistrationMonitor::onPageComplete() {
  if (const auto document = pageBrowser.Document()) {
    const QString number = Caption();
    forms_.fill(*document, console_, &number);
  }
  co_await PageWait(pageBrowser);
  const auto current = pageBrowser.Document();
  if (!current) co_return;
  // A page that failed or could not be read is no answer, nor the lack of one: the state stays
  // as it was until the next query.
  if (const LoadResult& load = pageBrowser.lastLoad(); load.failed || load.unread) {
    readHealth_.failedRead(loadFailure(load));
    co_return;
  }
  lastPageText_ = current->documentElement().innerText();
  reportQueryPage(*current, lastPageText_);

  const QString text = lastPageText_;
  if (text.contains(kImctTitle)) forms_.open(pageBrowser, ImctQueryPage());
  if (text.contains(kImctRefused)) {
    ImctLoginFailure(*this, pageBrowser, console_);
    co_return;
  }
  if (text.contains(kImctLoginLost)) forms_.open(pageBrowser, ImctLoginPage());
  if (text.contains(QStringLiteral("實櫃數")) || text.contains(QStringLiteral("空櫃數"))) {
    recordFinding();
  }
  if (text.contains(QStringLiteral("無符合資料"))) recordNoData();
}

// Pages read here are where a chain of forms ended: the title page goes on to the query, any
// other page that is not the answer means the query was not reached.
void RegistrationMonitor::reportQueryPage(HtmlDocument& page, const QString& text) {
  if (isAnswer(text)) {
    readHealth_.goodRead();
  } else if (text.contains(kImctLoginLost) || isLoginForm(page)) {
    readHealth_.failedRead(QStringLiteral("無法登入"));
  } else if (!text.contains(kImctTitle)) {
    readHealth_.failedRead(QStringLiteral("回應不含查詢結果"));
  }
}

void RegistrationMonitor::recordFinding() {
  // The outer run of this handler meets the same page again: still the same finding.
  const bool firstRun = pollTimer.Enabled();
  if (firstRun) {
    const QString summary =
        CountsLine(lastPageText_) + QChar(0x3000) + VesselOf(lastPageText_).trimmed();
    console_.journal().record(Caption(), journal::kind::kRegistration, journal::event::kFound,
                              summary, {.pageAfter = FindingAnswerLines(lastPageText_)});
    NotifyDesktop(console_, Caption(), summary);
    foundTime_ = Desktop::current().now();
    foundSummary_ = summary;
  }
  lastAnswerTime_ = TimeText(Desktop::current().now());
  unsavedFindingTime_ = lastAnswerTime_;
  saveFinding();
  startAlerting();
  if (firstRun) notifyFinding();
}

// A finding that could not be written is kept and written again on the next tick of showAllTimer.
void RegistrationMonitor::saveFinding() {
  if (unsavedFindingTime_.isEmpty()) return;
  if (WriteSetting(settings_keys::kFound, Caption(), QStringLiteral("1")) &&
      WriteSetting(settings_keys::kFoundTime, Caption(), unsavedFindingTime_)) {
    unsavedFindingTime_.clear();
  }
}

void RegistrationMonitor::recordNoData() {
  console_.journal().recordOncePerDay(Caption(), journal::kind::kRegistration,
                                      journal::event::kNoData, QStringLiteral("無符合資料"));
  lastAnswerTime_ = TimeText(Desktop::current().now());
  WriteSetting(settings_keys::kNotFoundTime, Caption(), lastAnswerTime_);
  WriteSetting(settings_keys::kFound, Caption(), QStringLiteral("0"));
}

}  // namespace tidex
