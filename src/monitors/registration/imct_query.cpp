#include "common/date_text.h"
#include "common/desktop_notice.h"
#include "common/element_scan.h"
#include "common/imct_login.h"
#include "common/imct_pages.h"
#include "common/journal.h"
#include "common/page_wait.h"
#include "common/settings.h"
#include "monitors/registration/answer_lines.h"
#include "monitors/registration/form2.h"
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

Task Form2::WebBrowser1_DocumentComplete() {
  if (const auto document = WebBrowser1.Document()) {
    const QString number = Caption();
    forms_.fill(*document, console_, &number);
  }
  co_await PageWait(WebBrowser1);
  const auto current = WebBrowser1.Document();
  if (!current) co_return;
  // A page that failed or could not be read is no answer, nor the lack of one: the state stays
  // as it was until the next query.
  if (const LoadResult& load = WebBrowser1.lastLoad(); load.failed || load.unread) {
    readHealth_.failedRead(loadFailure(load));
    co_return;
  }
  Text3.setText(current->documentElement().innerText());
  ReportQueryPage(*current, Text3.Text());

  const QString& text = Text3.Text();
  if (text.contains(kImctTitle)) forms_.open(WebBrowser1, ImctQueryPage());
  if (text.contains(kImctRefused)) {
    ImctLoginFailure(*this, WebBrowser1, console_);
    co_return;
  }
  if (text.contains(kImctLoginLost)) forms_.open(WebBrowser1, ImctLoginPage());
  if (text.contains(QStringLiteral("實櫃數")) || text.contains(QStringLiteral("空櫃數"))) {
    RecordFinding();
  }
  if (text.contains(QStringLiteral("無符合資料"))) RecordNoData();
}

// Pages read here are where a chain of forms ended: the title page goes on to the query, any
// other page that is not the answer means the query was not reached.
void Form2::ReportQueryPage(HtmlDocument& page, const QString& text) {
  if (isAnswer(text)) {
    readHealth_.goodRead();
  } else if (text.contains(kImctLoginLost) || isLoginForm(page)) {
    readHealth_.failedRead(QStringLiteral("無法登入"));
  } else if (!text.contains(kImctTitle)) {
    readHealth_.failedRead(QStringLiteral("回應不含查詢結果"));
  }
}

void Form2::RecordFinding() {
  // The outer run of this handler meets the same page again: still the same finding.
  const bool firstRun = Timer1.Enabled();
  if (firstRun) {
    const QString summary =
        CountsLine(Text3.Text()) + QChar(0x3000) + VesselOf(Text3.Text()).trimmed();
    console_.journal().record(Caption(), journal::kind::kRegistration, journal::event::kFound,
                              summary, {.pageAfter = FindingAnswerLines(Text3.Text())});
    NotifyDesktop(console_, Caption(), summary);
    foundTime_ = Desktop::current().now();
    foundSummary_ = summary;
  }
  Text4.setText(TimeText(Desktop::current().now()));
  unsavedFindingTime_ = Text4.Text();
  SaveFinding();
  Timer2.setEnabled(true);
  Timer1.setEnabled(false);
  if (firstRun) NotifyFinding();
}

// A finding that could not be written is kept and written again on the next tick of Timer3.
void Form2::SaveFinding() {
  if (unsavedFindingTime_.isEmpty()) return;
  if (WriteSetting(QStringLiteral("Touchfiles"), Caption(), QStringLiteral("1")) &&
      WriteSetting(QStringLiteral("TouchfilesTime"), Caption(), unsavedFindingTime_)) {
    unsavedFindingTime_.clear();
  }
}

void Form2::RecordNoData() {
  console_.journal().recordOncePerDay(Caption(), journal::kind::kRegistration,
                                      journal::event::kNoData, QStringLiteral("無符合資料"));
  Text4.setText(TimeText(Desktop::current().now()));
  WriteSetting(QStringLiteral("NoTouchfilesTime"), Caption(), Text4.Text());
  WriteSetting(QStringLiteral("Touchfiles"), Caption(), QStringLiteral("0"));
}

}  // namespace tidex
