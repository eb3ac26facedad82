#include "console/monitor_status_window.h"

#include <algorithm>

#include <QDateTime>

#include "common/health/monitor_status.h"
#include "common/remote/remote_notifier.h"
#include "common/text/date_text.h"
#include "console/window_snapshot.h"
#include "platform/desktop.h"

namespace tidex {
namespace {

using State = MonitorStatus::State;

constexpr int kMargin = 10;
constexpr int kSummaryRow = 36;

QString stateText(const MonitorStatus& status, const QDateTime& now) {
  switch (status.state) {
    case State::Watching:
      return QStringLiteral("監看中");
    case State::Alerting:
      return QStringLiteral("警示中");
    case State::Stopped:
      return QStringLiteral("已停止");
    case State::Found:
      return QStringLiteral("已找到");
    case State::Blind:
      if (!status.blindLine.isEmpty()) return status.blindLine;  // what it cannot read and why
      break;
  }
  return QStringLiteral("無法讀取 (自 %1)")
      .arg(MomentText(status.blindSince, now, QStringLiteral("HH:mm")));
}

// Alerting monitors want the user now, blind ones soon; the rest keep their creation order.
int urgency(State state) {
  switch (state) {
    case State::Alerting:
      return 0;
    case State::Blind:
      return 1;
    default:
      return 2;
  }
}

struct Row {
  Form* monitor;
  State state;
  QStringList texts;
};

QString summaryOf(const std::vector<Row>& rows) {
  if (rows.empty()) return QStringLiteral("沒有執行中的監看");
  const auto count = [&](State state) {
    return std::count_if(rows.begin(), rows.end(), [&](const Row& r) { return r.state == state; });
  };
  QString text = QStringLiteral("共 %1 個監看").arg(rows.size());
  if (const auto alerting = count(State::Alerting)) {
    text += QStringLiteral("，%1 個警示中").arg(alerting);
  }
  if (const auto blind = count(State::Blind)) text += QStringLiteral("，%1 個無法讀取").arg(blind);
  return text;
}

}  // namespace

QString MonitorStatusWindow::WindowCaption() { return QStringLiteral("監看狀態"); }

MonitorStatusWindow::MonitorStatusWindow(const RemoteNotifier& notifier)
    : Form(QStringLiteral("MonitorStatusWindow")), notifier_(notifier) {
  setCaption(WindowCaption());
  statusList.setAccessibleName(WindowCaption());
  Resize(860, 420);
  layOut(860, 420);

  refreshTimer.onTimer = [this] { Refresh(); };
  statusList.onDblClick = [this] { bringSelectedForward(); };
}

void MonitorStatusWindow::onLoad() {
  Refresh();
  Show();
}

void MonitorStatusWindow::onResize() {
  if (WindowState() != WindowState::Minimized) layOut(geometry().width, geometry().height);
}

void MonitorStatusWindow::layOut(int width, int height) {
  width = std::max(width, 400);
  height = std::max(height, 200);
  summaryLine.Move(kMargin, 10, width - 2 * kMargin, 20);
  statusList.Move(kMargin, kSummaryRow, width - 2 * kMargin, height - kSummaryRow - kMargin);
}

void MonitorStatusWindow::Refresh() {
  const QDateTime now = Desktop::current().now();
  const QString clock = QStringLiteral("HH:mm:ss");
  std::vector<Row> rows;
  for (Form* monitor : OpenMonitors()) {
    const MonitorStatus status = dynamic_cast<const WatchingWindow&>(*monitor).monitorStatus();
    rows.push_back({monitor,
                    status.state,
                    {monitor->Caption(), status.kind, stateText(status, now),
                     MomentText(status.lastGoodRead, now, clock),
                     MomentText(status.lastEvent, now, clock), status.lastEventSummary,
                     status.notificationPending ? QStringLiteral("待發送") : QString()}});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return urgency(a.state) < urgency(b.state); });
  summaryLine.setCaption(summaryOf(rows));
  for (const auto& [name, problem] : notifier_.problems()) {
    rows.push_back(
        {nullptr, State::Blind, {name, QStringLiteral("通知對象"), problem, {}, {}, {}, {}}});
  }

  std::vector<Form*> monitors;
  std::vector<QStringList> texts;
  for (Row& row : rows) {
    monitors.push_back(row.monitor);
    texts.push_back(std::move(row.texts));
  }
  // Sixty monitors every few seconds: the list is only rebuilt when a row changed.
  if (monitors == listed_ && texts == statusList.Rows()) return;

  const int selected = statusList.ListIndex();
  Form* selectedMonitor = selected < 0 ? nullptr : listed_[static_cast<std::size_t>(selected)];
  listed_ = std::move(monitors);
  statusList.setRows(std::move(texts));
  const auto kept = std::find(listed_.begin(), listed_.end(), selectedMonitor);
  if (selectedMonitor && kept != listed_.end()) {
    statusList.setListIndex(static_cast<int>(kept - listed_.begin()));
  }
}

void MonitorStatusWindow::bringSelectedForward() {
  const int selected = statusList.ListIndex();
  if (selected < 0) return;
  Form* monitor = listed_[static_cast<std::size_t>(selected)];
  if (!monitor) return;  // a notification target's row
  // It may have closed since the last refresh.
  const std::vector<Form*> open = OpenMonitors();
  if (std::find(open.begin(), open.end(), monitor) == open.end()) {
    Refresh();
    return;
  }
  monitor->restore();
  monitor->bringToFront();
}

}  // namespace tidex
