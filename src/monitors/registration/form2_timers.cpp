#include "common/alert_tones.h"
#include "common/date_text.h"
#include "common/engine_watch.h"
#include "common/imct_pages.h"
#include "common/number_text.h"
#include "common/settings.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

bool isTime(int hour, int minute) {
  const QTime now = Desktop::current().now().time();
  return now.hour() == hour && now.minute() == minute;
}

QString touchfilesOf(const QString& number) {
  return ReadSetting(QStringLiteral("Touchfiles"), number, QStringLiteral("No Settings"));
}

}  // namespace

void Form2::Form_Unload(int& cancel) {
  const QString value = touchfilesOf(Caption());
  if (isTime(4, 55)) return;
  // "No Settings", an empty or any other text that is not a number counts as 0.
  const double found = NumberOf(value).value_or(0);
  if (found == 0) {
    cancel = 1;
    Hide();
    return;
  }
  if (found != 1) return;
  if (console_.HideTray().Value() == 1) return;
  Desktop::current().beep(3000, 100);
  console_.RegistrationNumber().setText(Caption());
  console_.ActivityTime().setCaption(GeneralDateText(Desktop::current().now()));
}

void Form2::Timer1_Timer() {
  Text1.setText(QString::number(static_cast<long long>(Val(Text1.Text()) + 1)));
  if (Val(Text1.Text()) > 300) {
    Text1.setText(QStringLiteral("0"));
    readHealth_.periodEnded(QStringLiteral("沒有回應"));
    // The last query's page was never read: a fresh page, and the engine is looked at.
    if (WebBrowser1.NavigationUnread()) {
      WebBrowser1.Recreate();
      console_.BrowserEngine().PageStalled();
    }
    forms_.open(WebBrowser1, ImctQueryPage());
  }
}

void Form2::Timer2_Timer() {
  mStopBeep.setEnabled(true);
  mPrint.setEnabled(true);
  if (console_.ShowNotification().Value() == 1) {
    setTopMost(true);
    restore();
    bringToFront();
  }
  PlayAlertTones(console_);
  if (NumberOf(touchfilesOf(Caption())) == 1.0 && console_.ShowNotification().Value() == 1) {
    Show();
  }
  console_.ActivityTime().setCaption(GeneralDateText(Desktop::current().now()));
}

void Form2::Timer3_Timer() {
  SaveFinding();
  Text2.setText(
      ReadSetting(QStringLiteral("setup"), QStringLiteral("004"), QStringLiteral("No Settings")));
  if (console_.HideTray().Value() == 1 && isTime(4, 50)) {
    if (Unload()) return;
  }
  if (Text2.Text() == QStringLiteral("1")) {
    Show();
    setWindowState(Normal);
  }
}

void Form2::Timer4_Timer() {
  mPrint.setEnabled(true);
  Timer4.setEnabled(false);
}

void Form2::mPrint_Click() {
  Timer2.setEnabled(false);
  mPrint.setEnabled(false);
  Timer4.setEnabled(true);
  Frame1.setEnabled(true);
  WebBrowser1.Print();
}

void Form2::mStopBeep_Click() {
  Frame1.setEnabled(true);
  Timer2.setEnabled(false);
}

void Form2::mHide_Click() { Hide(); }

void Form2::mUnload_Click() { Unload(); }

}  // namespace tidex
