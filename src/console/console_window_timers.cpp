#include "common/alerting/timed_box.h"
#include "common/page/page_wait.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "console/console_window.h"
#include "platform/desktop.h"

namespace tidex {
namespace {
using namespace std::chrono_literals;
constexpr std::chrono::milliseconds kBatchListLimit = 30s;
}  // namespace

void ConsoleWindow::resetShowAllFlag() {
  WriteSetting(settings_keys::kSetup, settings_keys::kShowAll, QStringLiteral("0"));
  showAllResetTimer.setEnabled(false);
}

Task ConsoleWindow::fetchBatchList() {
  // Stopped first, so that its ticks during the page wait start no second fetch.
  batchListFetchTimer.setEnabled(false);
  batchListBrowser.Navigate2(ServerAddress(settings_keys::kServerMaker) +
                             QStringLiteral("/pda/Tidex_var.php"));
  // A list that never arrives counts as unreachable, so the next mark fetches again.
  const bool arrived = co_await BoundedPageWait(batchListBrowser, kBatchListLimit);
  const auto document = batchListBrowser.Document();
  batchListField.setText(arrived && document ? document->documentElement().innerText() : QString());
  batchFilterCheck.setValue(1);
  automaticBatchTimer.setEnabled(true);
}

void ConsoleWindow::onAutomaticBatchTick() { runAutomaticBatchStep(); }

void ConsoleWindow::onHalfHourTick() {
  const QTime now = Desktop::current().now().time();
  const auto trigger = [&] {
    Desktop::current().trimWorkingSet();
    batchListFetchTimer.setEnabled(true);
    halfHourTimer.setEnabled(false);
  };
  if (now.minute() == 59 && now.second() < 3) trigger();
  if (now.minute() == 29 && now.second() < 3) trigger();
}

void ConsoleWindow::flushJournal() { journal_.flush(); }

Task ConsoleWindow::tellJournalUnwritable() {
  co_await ShowTimedBox(QStringLiteral("變更紀錄無法寫入，稍後再試！ "), BoxButtons::Ok);
}

void ConsoleWindow::fetchBatchListNow() {
  getVarMenu.setEnabled(false);
  openWindowsButton.setEnabled(false);
  batchListFetchTimer.setEnabled(true);
  maskAccount();
}

}  // namespace tidex
