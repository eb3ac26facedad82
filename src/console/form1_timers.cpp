#include "common/page_wait.h"
#include "common/settings.h"
#include "common/timed_box.h"
#include "console/form1.h"
#include "platform/desktop.h"

namespace tidex {
namespace {
using namespace std::chrono_literals;
constexpr std::chrono::milliseconds kBatchListLimit = 30s;
}  // namespace

void Form1::Timer1_Timer() {
  WriteSetting(QStringLiteral("setup"), QStringLiteral("004"), QStringLiteral("0"));
  Timer1.setEnabled(false);
}

Task Form1::Timer2_Timer() {
  // Stopped first, so that its ticks during the page wait start no second fetch.
  Timer2.setEnabled(false);
  WebBrowser2.Navigate2(ServerAddress(QStringLiteral("maker")) +
                        QStringLiteral("/pda/Tidex_var.php"));
  // A list that never arrives counts as unreachable, so the next mark fetches again.
  const bool arrived = co_await BoundedPageWait(WebBrowser2, kBatchListLimit);
  const auto document = WebBrowser2.Document();
  Text4.setText(arrived && document ? document->documentElement().innerText() : QString());
  Check1.setValue(1);
  Timer3.setEnabled(true);
}

void Form1::Timer3_Timer() { Command5_Click(); }

void Form1::Timer4_Timer() {
  const QTime now = Desktop::current().now().time();
  const auto trigger = [&] {
    Desktop::current().trimWorkingSet();
    Timer2.setEnabled(true);
    Timer4.setEnabled(false);
  };
  if (now.minute() == 59 && now.second() < 3) trigger();
  if (now.minute() == 29 && now.second() < 3) trigger();
}

// Reopen a monitor whose user asked for it on closing; the launcher refuses a duplicate.
void Form1::Timer5_Timer() {
  Command7_Click();
  Timer5.setEnabled(false);
}

void Form1::Timer6_Timer() {
  Command10_Click();
  Timer6.setEnabled(false);
}

void Form1::Timer7_Timer() {
  Command12_Click();
  Timer7.setEnabled(false);
}

void Form1::Timer8_Timer() { journal_.flush(); }

Task Form1::JournalUnwritable() {
  co_await ShowTimedBox(QStringLiteral("變更紀錄無法寫入，稍後再試！ "), OkOnly);
}

void Form1::mGetVar_Click() {
  mGetVar.setEnabled(false);
  Command3.setEnabled(false);
  Timer2.setEnabled(true);
  MaskAccount();
}

}  // namespace tidex
