// "設定" as a screen reader's user meets it: every field named by its label, and a server
// address changed there is the one the next monitor opened reads, without a restart.
#include <gtest/gtest.h>

#include <QFile>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kSettings = QStringLiteral("設定");

// Opens "設定" from the console's menu bar; an invalid object when it did not open.
Accessible openSettings(const ConsoleSession& session) {
  Accessible settings;
  if (!session.a11y.press(session.consoleControl("menu item", kSettings))) return settings;
  waitUntil([&] { return (settings = session.a11y.window(kSettings)).valid(); }, 20s);
  return settings;
}

// The user replaces what the field holds with text, typed on the keyboard.
void typeInto(const ConsoleSession& session, const Accessible& field, const QString& text) {
  clickAt(session.display.display(), session.a11y.extents(field).center());
  pressKeys(session.display.display(), {"ctrl+a"});
  typeText(session.display.display(), text);
}

// Presses the button and waits for the window's line to say what was saved.
bool saveAndSee(const ConsoleSession& session, const Accessible& settings, const QString& button,
                const QString& said) {
  const AccessibilityBus& a11y = session.a11y;
  return a11y.press(a11y.find(settings, "push button", button)) &&
         waitUntil(
             [&] {
               return a11y
                   .findWhere(settings, "label",
                              [&](const QString& name) { return name.startsWith(said); })
                   .valid();
             },
             10s);
}

}  // namespace

TEST(ProgramEndToEnd, ABoardServerChangedInTheSettingsWindowServesTheNextMonitorOpened) {
  ConsoleSession session;
  SitesRunner otherBoard;
  ASSERT_TRUE(otherBoard.started());
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  const Accessible settings = openSettings(session);
  ASSERT_TRUE(settings.valid()) << session.program.output().data();
  for (const char* label :
       {"看板伺服器", "海關伺服器", "IMCT 伺服器", "原廠伺服器", "IMCT 帳號", "引航員號碼",
        "引航員姓名", "對象名稱", "位址", "密碼或權杖（留空不變）", "每日摘要時間（如 08:00）"}) {
    EXPECT_TRUE(a11y.find(settings, "text", QString::fromUtf8(label)).valid()) << label;
  }
  for (const char* button :
       {"儲存伺服器與帳號", "儲存引航員", "刪除引航員", "儲存對象", "刪除對象", "測試", "關閉"}) {
    EXPECT_TRUE(a11y.find(settings, "push button", QString::fromUtf8(button)).valid()) << button;
  }

  const Accessible boardField = a11y.find(settings, "text", QStringLiteral("看板伺服器"));
  ASSERT_TRUE(boardField.valid()) << a11y.describe(settings).toStdString();
  EXPECT_EQ(a11y.text(boardField), session.sites.base());
  ASSERT_TRUE(session.focus(kSettings));
  typeInto(session, boardField, otherBoard.base());
  ASSERT_TRUE(saveAndSee(session, settings, QStringLiteral("儲存伺服器與帳號"),
                         QStringLiteral("伺服器位址與帳號已儲存")));

  ASSERT_TRUE(session.pressConsoleButton(QStringLiteral("碼頭")));
  EXPECT_TRUE(waitUntil([&] { return !otherBoard.requestLog().filter(kBoardPath).isEmpty(); }, 30s))
      << session.program.output().data();
}

// Two of the port's pilots are missing from Tidex.ini while a wharf monitor runs. The user adds
// one in "設定", typing the name as the board shows it: that pilot's assignment is no change at
// the monitor's next comparison; the other's still alerts.
TEST(ProgramEndToEnd, APilotAddedInTheSettingsWindowIsNoChangeAtARunningMonitorsNextComparison) {
  ConsoleSession session;
  ASSERT_TRUE(session.start(ProgramClock::faster(4)))
      << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  {
    QFile ini(session.home.filePath(QStringLiteral("Tidex.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadWrite));
    QByteArray text = ini.readAll();
    for (const QByteArray number : {"0088", "0089"}) {
      const qsizetype at = text.indexOf("\r\n" + number + "=");
      ASSERT_GE(at, 0) << number.data();
      const qsizetype end = text.indexOf("\r\n", at + 2);
      text.remove(at + 7, end - (at + 7));  // the name, after "\r\n0088="
    }
    ASSERT_TRUE(ini.resize(0) && ini.write(text) == text.size());
  }
  const auto boardReads = [&] { return session.sites.requestLog().filter(kBoardPath).size(); };
  ASSERT_TRUE(session.openWharfMonitor()) << session.failure();

  const Accessible settings = openSettings(session);
  ASSERT_TRUE(settings.valid());
  ASSERT_TRUE(session.focus(kSettings));
  for (const auto& [label, text] : {std::pair{"引航員號碼", "0088"}, {"引航員姓名", "方仁傑"}}) {
    const Accessible field = a11y.find(settings, "text", QString::fromUtf8(label));
    ASSERT_TRUE(field.valid()) << label;
    typeInto(session, field, QString::fromUtf8(text));
    ASSERT_TRUE(waitUntil([&] { return a11y.text(field) == QString::fromUtf8(text); }, 10s))
        << label << " holds " << a11y.text(field).toStdString();
  }
  ASSERT_TRUE(saveAndSee(session, settings, QStringLiteral("儲存引航員"),
                         QStringLiteral("引航員 0088 方仁傑 已儲存")))
      << a11y.describe(settings).toStdString();

  ASSERT_TRUE(
      session.sites.control("/_control/board/pilot?wharf=1108&vessel=YM%20HARMONY&number=0088"));
  const qsizetype readsBefore = boardReads();
  ASSERT_TRUE(waitUntil([&] { return boardReads() >= readsBefore + 2; }, 60s));
  EXPECT_TRUE(session.journalSummaries("alert").isEmpty()) << "a pilot now known is no change";

  ASSERT_TRUE(
      session.sites.control("/_control/board/pilot?wharf=1108&vessel=YM%20HARMONY&number=0089"));
  ASSERT_TRUE(waitUntil([&] { return !session.journalSummaries("alert").isEmpty(); }, 60s))
      << "a pilot still unknown is a change";
  EXPECT_EQ(session.journalSummaries("alert").size(), 1);
  EXPECT_FALSE(session.journalSummaries("alert").join('\n').contains("方仁傑"));
}
