#include "common/date_text.h"
#include "common/desktop_notice.h"
#include "common/imct_login.h"
#include "common/imct_pages.h"
#include "common/journal.h"
#include "common/page_wait.h"
#include "common/settings.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"
#include "platform/journal_schema.h"

namespace tidex {

Task Form2::WebBrowser1_DocumentComplete() {
  if (const auto document = WebBrowser1.Document()) {
    const QString number = Caption();
    forms_.fill(*document, console_, &number);
  }
  co_await PageWait(WebBrowser1);
  const auto current = WebBrowser1.Document();
  if (!current) co_return;
  Text3.setText(current->documentElement().innerText());

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

void Form2::RecordFinding() {
  // The outer run of this handler meets the same page again: still the same finding.
  const bool firstRun = Timer1.Enabled();
  if (firstRun) {
    const QString summary =
        CountsLine(Text3.Text()) + QChar(0x3000) + VesselOf(Text3.Text()).trimmed();
    console_.journal().record(Caption(), journal::kind::kRegistration, journal::event::kFound,
                              summary);
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
