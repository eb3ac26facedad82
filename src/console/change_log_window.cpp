#include "console/change_log_window.h"

#include <algorithm>
#include <vector>

#include "console/monitor_kinds.h"
#include "console/word_difference.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

// The filter's choices: every kind, the monitors' kinds, and the remote notification targets.
struct KindChoice {
  QString kind;  // empty: every kind
  QString name;
};

const std::vector<KindChoice>& kindChoices() {
  static const std::vector<KindChoice> choices = [] {
    std::vector<KindChoice> all{{QString(), QStringLiteral("全部")}};
    for (const MonitorKind& kind : MonitorKinds()) {
      all.push_back({QString::fromLatin1(kind.key), kind.name});
    }
    all.push_back({QString::fromLatin1(journal::kind::kNotifyTarget), QStringLiteral("通知對象")});
    return all;
  }();
  return choices;
}

constexpr int kMargin = 10;
constexpr int kFilterRow = 44;  // height of the filter row

}  // namespace

QString ChangeLogWindow::WindowCaption() { return QStringLiteral("變更紀錄"); }

QString ChangeLogWindow::KindName(const QString& kind) {
  for (const KindChoice& choice : kindChoices()) {
    if (!choice.kind.isEmpty() && kind == choice.kind) return choice.name;
  }
  return kind;
}

ChangeLogWindow::ChangeLogWindow() : Form(QStringLiteral("ChangeLogWindow")) {
  setCaption(WindowCaption());
  for (const KindChoice& choice : kindChoices()) kindFilterBox.AddItem(choice.name);
  kindFilterBox.setListIndex(0);
  captionFilterField.setAccessibleName(captionFilterLabel.Caption());
  kindFilterBox.setAccessibleName(kindFilterLabel.Caption());
  entryList.setAccessibleName(WindowCaption());
  kindFilterLabel.setLabelFor(kindFilterBox);
  beforePane.setAccessibleName(beforeFrame.Caption());
  afterPane.setAccessibleName(afterFrame.Caption());
  Resize(900, 560);
  layOut(900, 560);

  captionFilterField.onChange = [this] { Refresh(); };
  kindFilterBox.onClick = [this] { Refresh(); };
  refreshButton.onClick = [this] { Refresh(); };
  refreshTimer.onTimer = [this] { Refresh(); };
  entryList.onClick = [this] { showSelectedEntry(); };
}

void ChangeLogWindow::onLoad() {
  Refresh();
  Show();
}

void ChangeLogWindow::onResize() {
  if (WindowState() != WindowState::Minimized) layOut(geometry().width, geometry().height);
}

// The filters on top; the list over the upper half; the two sides beneath it.
void ChangeLogWindow::layOut(int width, int height) {
  width = std::max(width, 480);
  height = std::max(height, 320);
  const int inner = width - 2 * kMargin;
  captionFilterLabel.Move(kMargin, 12, 40, 20);
  captionFilterField.Move(52, 8, 180, 26);
  kindFilterLabel.Move(246, 12, 40, 20);
  kindFilterBox.Move(288, 8, 110, 26);
  refreshButton.Move(412, 6, 100, 30);
  statusLabel.Move(526, 12, width - 526 - kMargin, 20);

  const int listHeight = (height - kFilterRow) / 2;
  entryList.Move(kMargin, kFilterRow, inner, listHeight);
  const int sideTop = kFilterRow + listHeight + 8;
  const int sideWidth = (inner - kMargin) / 2;
  const int right = kMargin + sideWidth + kMargin;
  const int sideHeight = height - sideTop - kMargin;
  beforeFrame.Move(kMargin, sideTop, sideWidth, sideHeight);
  afterFrame.Move(right, sideTop, sideWidth, sideHeight);
  // Inside each frame, below its caption.
  beforePane.Move(8, 22, sideWidth - 16, sideHeight - 30);
  afterPane.Move(8, 22, sideWidth - 16, sideHeight - 30);
}

QString ChangeLogWindow::kindFilter() const {
  const int index = kindFilterBox.ListIndex();
  return index <= 0 ? QString() : kindChoices()[static_cast<std::size_t>(index)].kind;
}

void ChangeLogWindow::Refresh() {
  const journal::Reading reading = journal::ReadJournal(
      journal::JournalPath(), {captionFilterField.Text().trimmed(), kindFilter()}, kNewest);
  showStatus(reading);
  // A writer busy for the moment: keep what is listed until the next refresh.
  if (reading.state == journal::Reading::State::Busy || reading.entries == entries_) return;

  const int selected = entryList.ListIndex();
  const qint64 selectedId = selected < 0 ? 0 : entries_[static_cast<std::size_t>(selected)].id;
  entries_ = reading.entries;
  std::vector<QStringList> rows;
  rows.reserve(entries_.size());
  for (const journal::Entry& e : entries_) {
    rows.push_back({e.time, e.caption, KindName(e.kind), e.summary});
  }
  entryList.setRows(std::move(rows));
  const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const journal::Entry& e) { return e.id == selectedId; });
  if (kept != entries_.end()) entryList.setListIndex(static_cast<int>(kept - entries_.begin()));
}

void ChangeLogWindow::showStatus(const journal::Reading& reading) {
  using State = journal::Reading::State;
  switch (reading.state) {
    case State::Missing:
      statusLabel.setCaption(
          QStringLiteral("尚無變更紀錄（找不到紀錄檔 %1）").arg(QLatin1String(journal::kFileName)));
      break;
    case State::Unreadable:
      statusLabel.setCaption(QStringLiteral("變更紀錄檔無法讀取：%1").arg(reading.error));
      break;
    case State::Busy:
      statusLabel.setCaption(QStringLiteral("變更紀錄檔正在寫入，稍後再讀取"));
      break;
    case State::Read:
      if (reading.entries.empty()) {
        statusLabel.setCaption(QStringLiteral("沒有符合的紀錄"));
      } else if (reading.entries.size() >= static_cast<std::size_t>(kNewest)) {
        statusLabel.setCaption(QStringLiteral("最新 %1 筆").arg(kNewest));
      } else {
        statusLabel.setCaption(QStringLiteral("共 %1 筆").arg(reading.entries.size()));
      }
      break;
  }
}

void ChangeLogWindow::showSelectedEntry() {
  const int index = entryList.ListIndex();
  if (index < 0) {
    beforePane.setRuns({});
    afterPane.setRuns({});
    return;
  }
  const journal::Entry& entry = entries_[static_cast<std::size_t>(index)];
  const bool pageLines = !entry.pageBefore.isEmpty() || !entry.pageAfter.isEmpty();
  const bool comparedLines = !entry.before.isEmpty() || !entry.after.isEmpty();
  if (!pageLines && !comparedLines) {
    // Nothing compared (a notification, a page that cannot be read): what happened.
    beforePane.setRuns({});
    afterPane.setRuns({{entry.summary, false}});
    return;
  }
  // Entries of an earlier version have only the lines as compared.
  WordDifference difference = pageLines ? CompareWords(entry.pageBefore, entry.pageAfter)
                                        : CompareWords(entry.before, entry.after);
  beforePane.setRuns(std::move(difference.before));
  afterPane.setRuns(std::move(difference.after));
}

}  // namespace tidex
