#include "common/health/engine_watch.h"

#include <chrono>

#include "common/alerting/timed_box.h"
#include "common/console_state.h"

namespace tidex {

using namespace std::chrono_literals;
namespace {

// Belongs to the desktop: the box counts down and closes whatever becomes of the watch.
Task TellEngineOutage() { co_await ShowTimedBox(EngineWatch::kNotice, BoxButtons::Ok); }

}  // namespace

const QString EngineWatch::kNotice = QStringLiteral("瀏覽器引擎無法載入網頁，程式將持續重試！ ");

EngineWatch::EngineWatch(ConsoleState& console, QString normalTip)
    : console_(console), normalTip_(std::move(normalTip)) {}

EngineWatch::~EngineWatch() = default;

void EngineWatch::PageStalled() {
  if (!outage_) probe();
}

void EngineWatch::probe() {
  if (probe_) return;
  probe_ = Desktop::current().probeBrowserEngine([this](bool works) { answered(works); });
}

void EngineWatch::answered(bool works) {
  // The call that runs this is the probe itself: it goes once this returns.
  Desktop::current().post([keep = std::shared_ptr<QueuedCall>(std::move(probe_))] {});
  if (works) {
    if (!outage_) return;
    outage_ = false;
    retry_.reset();
    Desktop::current().trayTip(normalTip_);
    if (onOutageChanged) onOutageChanged(false);
    return;
  }
  if (outage_) return;
  outage_ = true;
  if (!console_.silentMode()) Desktop::current().beep(3000, 300ms);
  Desktop::current().trayTip(kNotice);
  retry_ = Desktop::current().startTimer(kRetry, [this] { probe(); });
  TellEngineOutage();
  if (onOutageChanged) onOutageChanged(true);
}

}  // namespace tidex
