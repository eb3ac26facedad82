#include "console/change_log_window.h"

#include <algorithm>
#include <array>

#include "common/word_difference.h"
#include "platform/journal_schema.h"

namespace tidex {
namespace {

struct KindChoice {
  const char* kind;  // empty: every kind
  const char* name;
};
// In the order of the console's launchers.
constexpr std::array<KindChoice, 5> kKinds{{{"", "全部"},
                                            {journal::kind::kWharf, "碼頭"},
                                            {journal::kind::kVessel, "船名"},
                                            {journal::kind::kUrl, "網址"},
                                            {journal::kind::kRegistration, "海掛"}}};

constexpr int kMargin = 10;
constexpr int kFilterRow = 44;  // height of the filter row

}  // namespace

QString ChangeLogWindow::WindowCaption() { return QStringLiteral("變更紀錄"); }

QString ChangeLogWindow::KindName(const QString& kind) {
  for (const KindChoice& choice : kKinds) {
    if (*choice.kind && kind == QLatin1String(choice.kind)) return QString::fromUtf8(choice.name);
  }
  return kind;
}

ChangeLogWindow::ChangeLogWindow() : Form(QStringLiteral("ChangeLogWindow")) {
  setCaption(WindowCaption());
  for (const KindChoice& choice : kKinds) cboKind.AddItem(QString::fromUtf8(choice.name));
  cboKind.setListIndex(0);
  txtCaption.setAccessibleName(lblCaption.Caption());
  cboKind.setAccessibleName(lblKind.Caption());
  lvwJournal.setAccessibleName(WindowCaption());
  lblKind.setLabelFor(cboKind);
  txtBefore.setAccessibleName(fraBefore.Caption());
  txtAfter.setAccessibleName(fraAfter.Caption());
  Resize(900, 560);
  layOut(900, 560);

  txtCaption.onChange = [this] { Refresh(); };
  cboKind.onClick = [this] { Refresh(); };
  cmdRefresh.onClick = [this] { Refresh(); };
  tmrRefresh.onTimer = [this] { Refresh(); };
  lvwJournal.onClick = [this] { lvwJournal_Click(); };
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
  lblCaption.Move(kMargin, 12, 40, 20);
  txtCaption.Move(52, 8, 180, 26);
  lblKind.Move(246, 12, 40, 20);
  cboKind.Move(288, 8, 110, 26);
  cmdRefresh.Move(412, 6, 100, 30);
  lblStatus.Move(526, 12, width - 526 - kMargin, 20);

  const int listHeight = (height - kFilterRow) / 2;
  lvwJournal.Move(kMargin, kFilterRow, inner, listHeight);
  const int sideTop = kFilterRow + listHeight + 8;
  const int sideWidth = (inner - kMargin) / 2;
  const int right = kMargin + sideWidth + kMargin;
  const int sideHeight = height - sideTop - kMargin;
  fraBefore.Move(kMargin, sideTop, sideWidth, sideHeight);
  fraAfter.Move(right, sideTop, sideWidth, sideHeight);
  // Inside each frame, below its caption.
  txtBefore.Move(8, 22, sideWidth - 16, sideHeight - 30);
  txtAfter.Move(8, 22, sideWidth - 16, sideHeight - 30);
}

QString ChangeLogWindow::kindFilter() const {
  const int index = cboKind.ListIndex();
  return index <= 0 ? QString() : QLatin1String(kKinds[static_cast<std::size_t>(index)].kind);
}

void ChangeLogWindow::Refresh() {
  const journal::Reading reading = journal::ReadJournal(
      journal::JournalPath(), {txtCaption.Text().trimmed(), kindFilter()}, kNewest);
  showStatus(reading);
  // A writer busy for the moment: keep what is listed until the next refresh.
  if (reading.state == journal::Reading::State::Busy || reading.entries == entries_) return;

  const int selected = lvwJournal.ListIndex();
  const qint64 selectedId = selected < 0 ? 0 : entries_[static_cast<std::size_t>(selected)].id;
  entries_ = reading.entries;
  std::vector<QStringList> rows;
  rows.reserve(entries_.size());
  for (const journal::Entry& e : entries_) {
    rows.push_back({e.time, e.caption, KindName(e.kind), e.summary});
  }
  lvwJournal.setRows(std::move(rows));
  const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const journal::Entry& e) { return e.id == selectedId; });
  if (kept != entries_.end()) lvwJournal.setListIndex(static_cast<int>(kept - entries_.begin()));
}

void ChangeLogWindow::showStatus(const journal::Reading& reading) {
  using State = journal::Reading::State;
  switch (reading.state) {
    case State::Missing:
      lblStatus.setCaption(
          QStringLiteral("尚無變更紀錄（找不到紀錄檔 %1）").arg(QLatin1String(journal::kFileName)));
      break;
    case State::Unreadable:
      lblStatus.setCaption(QStringLiteral("變更紀錄檔無法讀取：%1").arg(reading.error));
      break;
    case State::Busy:
      lblStatus.setCaption(QStringLiteral("變更紀錄檔正在寫入，稍後再讀取"));
      break;
    case State::Read:
      if (reading.entries.empty()) {
        lblStatus.setCaption(QStringLiteral("沒有符合的紀錄"));
      } else if (reading.entries.size() >= static_cast<std::size_t>(kNewest)) {
        lblStatus.setCaption(QStringLiteral("最新 %1 筆").arg(kNewest));
      } else {
        lblStatus.setCaption(QStringLiteral("共 %1 筆").arg(reading.entries.size()));
      }
      break;
  }
}

void ChangeLogWindow::lvwJournal_Click() {
  const int index = lvwJournal.ListIndex();
  if (index < 0) {
    txtBefore.setRuns({});
    txtAfter.setRuns({});
    return;
  }
  const journal::Entry& entry = entries_[static_cast<std::size_t>(index)];
  const bool pageLines = !entry.pageBefore.isEmpty() || !entry.pageAfter.isEmpty();
  const bool comparedLines = !entry.before.isEmpty() || !entry.after.isEmpty();
  if (!pageLines && !comparedLines) {
    // Nothing compared (a notification, a page that cannot be read): what happened.
    txtBefore.setRuns({});
    txtAfter.setRuns({{entry.summary, false}});
    return;
  }
  // Entries of an earlier version have only the lines as compared.
  WordDifference difference = pageLines ? CompareWords(entry.pageBefore, entry.pageAfter)
                                        : CompareWords(entry.before, entry.after);
  txtBefore.setRuns(std::move(difference.before));
  txtAfter.setRuns(std::move(difference.after));
}

}  // namespace tidex
