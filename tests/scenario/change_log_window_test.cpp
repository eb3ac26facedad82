#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "journal_seed.h"
#include "scenario_helpers.h"
#include "test_printers.h"

#include "console/change_log_window.h"
#include "platform/journal_reader.h"
#include "platform/journal_schema.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;
using tidex::testing::JournalRow;
using tidex::testing::SeedJournal;

namespace {

namespace kind = journal::kind;
namespace event = journal::event;

// A night of findings, written out of time order as a clock set back could leave them.
const std::vector<JournalRow> kNight = {
    {"2026-12-08 09:10:00", "1108", kind::kWharf, event::kAlert,
     "YM HARMONY　抵港時間 14:30 → 14:40", "YMHARMONY1108有2026/12/081430",
     "YMHARMONY1108有2026/12/081440", 0,
     "船名：YM HARMONY\n碼頭：1108\n抵港時間：14:30\n引水人：0037王大明",
     "船名：YM HARMONY\n碼頭：1108\n抵港時間：14:40\n引水人：0037王大明"},
    {"2026-12-08 09:40:00", "01VXXX", kind::kRegistration, event::kFound,
     "實櫃數 12　空櫃數 3　YM HARMONY", "", "", 0, "",
     "船名 YM HARMONY 船隻類別 貨櫃輪\n實櫃數 12\n空櫃數 3"},
    {"2026-12-07 23:59:59", "1108", kind::kWharf, event::kAlert, "EVER GIVEN　靠泊 07:00",
     "EVER GIVEN　靠泊 06:00", "EVER GIVEN　靠泊 07:00"},
    {"2026-12-08 08:05:00", "YM HARMONY", kind::kVessel, event::kAlert, "YM HARMONY　出港 18:00",
     "YM HARMONY　出港 17:00", "YM HARMONY　出港 18:00"},
};

QString journalFile(SimDesktop& desk) {
  return desk.applicationFolder() + QLatin1Char('/') + QLatin1String(journal::kFileName);
}

// The user brings the console up from the tray if it is hidden and clicks "變更紀錄".
ChangeLogWindow& openChangeLog(SimDesktop& desk, ConsoleWindow& console) {
  if (!console.Visible()) desk.trayDoubleClick();
  desk.clickMenu(console.changeLogMenu);
  return windowCaptioned<ChangeLogWindow>(desk, QStringLiteral("變更紀錄"));
}

// One column of the list, top to bottom.
QStringList column(const ChangeLogWindow& log, int index) {
  QStringList texts;
  for (const QStringList& row : log.entryList.Rows()) texts << row.value(index);
  return texts;
}

// The marked stretches of a pane, in order.
QStringList marked(const TextPane& pane) {
  QStringList texts;
  for (const TextRun& run : pane.Runs()) {
    if (run.marked) texts << run.text;
  }
  return texts;
}

}  // namespace

// The user opens "變更紀錄" from the console's menu bar and narrows the night's journal down
// by a part of the caption and by kind.
TEST(ChangeLogWindow, ListsTheJournalNewestFirstAndFiltersByCaptionAndKind) {
  SimPortDesktop desk;
  ASSERT_TRUE(SeedJournal(journalFile(desk), kNight));
  auto& console = startConsole(desk);
  auto& log = openChangeLog(desk, console);

  EXPECT_TRUE(log.Visible());
  EXPECT_EQ(log.entryList.Columns(), QStringList({"時間", "視窗", "種類", "摘要"}));
  EXPECT_EQ(column(log, 0), QStringList({"2026-12-08 09:40:00", "2026-12-08 09:10:00",
                                         "2026-12-08 08:05:00", "2026-12-07 23:59:59"}));
  EXPECT_EQ(log.entryList.Rows()[1], QStringList({"2026-12-08 09:10:00", "1108", "碼頭",
                                                  "YM HARMONY　抵港時間 14:30 → 14:40"}));
  EXPECT_EQ(log.statusLabel.Caption(), "共 4 筆");

  struct Case {
    QString caption;
    QString kind;
    QStringList captions;
  };
  const Case cases[] = {
      {"110", "全部", {"1108", "1108"}},
      {"harmony", "全部", {"YM HARMONY"}},  // Latin letters in any case
      {"", "碼頭", {"1108", "1108"}},
      {"", "海掛", {"01VXXX"}},
      {"", "船名", {"YM HARMONY"}},
      {"", "網址", {}},
      {"1108", "海掛", {}},
      {"_", "全部", {}},  // taken literally, not as a wildcard
      {"", "全部", {"01VXXX", "1108", "YM HARMONY", "1108"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.caption + " / " + c.kind).toStdString());
    desk.type(log.captionFilterField, c.caption);
    ASSERT_TRUE(desk.choose(log.kindFilterBox, c.kind));
    EXPECT_EQ(column(log, 1), c.captions);
    if (c.captions.isEmpty()) {
      EXPECT_EQ(log.statusLabel.Caption(), "沒有符合的紀錄");
    }
  }
}

// Selecting an entry shows its lines before and after side by side as the page showed them;
// what changed is marked, Chinese character by character, the rest word by word. An entry
// of an earlier version, without them, shows the lines as compared.
TEST(ChangeLogWindow, ShowsTheSelectedEntrysLinesSideBySideWithTheChangedWordsMarked) {
  SimPortDesktop desk;
  ASSERT_TRUE(SeedJournal(journalFile(desk), kNight));
  ASSERT_TRUE(SeedJournal(journalFile(desk), {{"2026-12-08 08:30:00", "1110", kind::kWharf,
                                               event::kBlind, "無法讀取看板：HTTP 500", "", ""}}));
  auto& console = startConsole(desk);
  auto& log = openChangeLog(desk, console);

  struct Case {
    int row;
    QString before;
    QString after;
    QStringList markedBefore;
    QStringList markedAfter;
  };
  const Case cases[] = {
      {1, kNight[0].pageBefore, kNight[0].pageAfter, {"14:30"}, {"14:40"}},
      // A finding: the answer's lines, all of them new.
      {0, "", kNight[1].pageAfter, {}, kNight[1].pageAfter.split('\n')},
      // Nothing compared: what happened.
      {2, "", "無法讀取看板：HTTP 500", {}, {}},
      {3, kNight[3].before, kNight[3].after, {"17:00"}, {"18:00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    ASSERT_TRUE(desk.select(log.entryList, c.row));
    EXPECT_EQ(log.beforePane.Text(), c.before);
    EXPECT_EQ(log.afterPane.Text(), c.after);
    EXPECT_EQ(marked(log.beforePane), c.markedBefore);
    EXPECT_EQ(marked(log.afterPane), c.markedAfter);
  }
  EXPECT_EQ(log.beforePane.marking(), TextPane::Marking::Removed);
}

// New entries come in while the window is open: the timer and "重新整理" list them on top, and
// the entry the user is looking at stays selected. The menu brings the open window forward.
TEST(ChangeLogWindow, NewEntriesAppearOnRefreshAndTheSelectedEntryStaysSelected) {
  SimPortDesktop desk{"2026-12-08 10:00:00"};
  ASSERT_TRUE(SeedJournal(journalFile(desk), kNight));
  auto& console = startConsole(desk);
  auto& log = openChangeLog(desk, console);
  ASSERT_TRUE(desk.select(log.entryList, 1));

  ASSERT_TRUE(
      SeedJournal(journalFile(desk), {{"2026-12-08 10:00:05", "1108", kind::kWharf, event::kAlert,
                                       "YM HARMONY　抵港時間 14:40 → 14:50", "14:40", "14:50"}}));
  desk.advance(16s);
  EXPECT_EQ(log.entryList.ListCount(), 5);
  EXPECT_EQ(log.entryList.ListIndex(), 2);
  EXPECT_EQ(log.entryList.Rows()[2][0], "2026-12-08 09:10:00");
  EXPECT_EQ(marked(log.afterPane), QStringList({"14:40"}));

  ASSERT_TRUE(SeedJournal(journalFile(desk), {{"2026-12-08 10:00:09", "01VYYY", kind::kRegistration,
                                               event::kNoData, "01VYYY 查無資料", "", ""}}));
  desk.click(log.refreshButton);
  EXPECT_EQ(column(log, 1).front(), "01VYYY");
  EXPECT_EQ(log.entryList.ListIndex(), 3);

  desk.closeBox(log);
  auto& reopened = openChangeLog(desk, console);
  EXPECT_NE(&reopened, &log);
  desk.clickMenu(console.changeLogMenu);
  EXPECT_EQ(&windowCaptioned<ChangeLogWindow>(desk, "變更紀錄"), &reopened);
  EXPECT_EQ(desk.windowLog().filter("front 變更紀錄").size(), 1);
}

// Without a journal, or with one that is not a journal, the window lists nothing and says
// why; it never creates the file. A journal written later is listed on the next refresh.
TEST(ChangeLogWindow, AMissingOrBrokenJournalShowsAnEmptyListAndSaysWhy) {
  struct Case {
    const char* name;
    QByteArray bytes;  // null: no file
    const char* status;
  };
  const Case cases[] = {
      {"missing", QByteArray(), "找不到紀錄檔"},
      {"garbage", QByteArray("this is not a database, only bytes\n").repeated(200), "無法讀取"},
      {"truncated", QByteArray("SQLite format 3\0\x10\0\x01\x01", 21), "無法讀取"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimPortDesktop desk;
    if (!c.bytes.isNull()) {
      QFile file(journalFile(desk));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.bytes);
    }
    auto& console = startConsole(desk);
    auto& log = openChangeLog(desk, console);

    EXPECT_EQ(log.entryList.ListCount(), 0);
    EXPECT_TRUE(log.statusLabel.Caption().contains(c.status))
        << log.statusLabel.Caption().toStdString();
    EXPECT_EQ(QFile::exists(journalFile(desk)), !c.bytes.isNull());

    QFile::remove(journalFile(desk));
    ASSERT_TRUE(SeedJournal(journalFile(desk), kNight));
    desk.click(log.refreshButton);
    EXPECT_EQ(log.entryList.ListCount(), 4);
  }
}

// A writer that holds the journal locked is not waited for: the list stays as it was.
TEST(ChangeLogWindow, AJournalLockedByAWriterKeepsTheListAsItWas) {
  SimPortDesktop desk;
  ASSERT_TRUE(SeedJournal(journalFile(desk), kNight));
  auto& console = startConsole(desk);
  auto& log = openChangeLog(desk, console);
  ASSERT_EQ(log.entryList.ListCount(), 4);
  {
    QSqlDatabase writer = QSqlDatabase::addDatabase("QSQLITE", "locking writer");
    writer.setDatabaseName(journalFile(desk));
    ASSERT_TRUE(writer.open());
    QSqlQuery q(writer);
    // Out of WAL mode and holding the exclusive lock, as a checkpoint or a rebuild would.
    ASSERT_TRUE(q.exec("PRAGMA journal_mode=DELETE"));
    ASSERT_TRUE(q.exec("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(q.exec("DELETE FROM journal"));

    desk.click(log.refreshButton);
    EXPECT_EQ(log.entryList.ListCount(), 4);
    EXPECT_TRUE(log.statusLabel.Caption().contains("正在寫入"))
        << log.statusLabel.Caption().toStdString();
    q.exec("ROLLBACK");
  }
  QSqlDatabase::removeDatabase("locking writer");
}
