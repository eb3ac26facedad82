// "設定" as a screen reader's user meets it: every field named by its label, and a server
// address changed there is the one the next monitor opened reads, without a restart.
#include <gtest/gtest.h>

#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

TEST(ProgramEndToEnd, ABoardServerChangedInTheSettingsWindowServesTheNextMonitorOpened) {
  ConsoleSession session;
  SitesRunner otherBoard;
  ASSERT_TRUE(otherBoard.started());
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const AccessibilityBus& a11y = session.a11y;
  const QString caption = QStringLiteral("設定");
  ASSERT_TRUE(a11y.press(session.consoleControl("menu item", caption)));
  Accessible settings;
  ASSERT_TRUE(waitUntil([&] { return (settings = a11y.window(caption)).valid(); }, 20s))
      << session.program.output().data();
  for (const char* label : {"看板伺服器", "海關伺服器", "IMCT 伺服器", "原廠伺服器", "IMCT 帳號",
                            "引航員號碼", "引航員姓名", "對象名稱", "位址", "密碼或權杖"}) {
    EXPECT_TRUE(a11y.find(settings, "text", QString::fromUtf8(label)).valid()) << label;
  }
  for (const char* button :
       {"儲存伺服器與帳號", "儲存引航員", "刪除引航員", "儲存對象", "刪除對象", "測試", "關閉"}) {
    EXPECT_TRUE(a11y.find(settings, "push button", QString::fromUtf8(button)).valid()) << button;
  }

  const Accessible boardField = a11y.find(settings, "text", QStringLiteral("看板伺服器"));
  ASSERT_TRUE(boardField.valid()) << a11y.describe(settings).toStdString();
  EXPECT_EQ(a11y.text(boardField), session.sites.base());
  ASSERT_TRUE(session.focus(caption));
  clickAt(session.display.display(), a11y.extents(boardField).center());
  pressKeys(session.display.display(), {"ctrl+a"});
  typeText(session.display.display(), otherBoard.base());
  ASSERT_TRUE(a11y.press(a11y.find(settings, "push button", QStringLiteral("儲存伺服器與帳號"))));
  ASSERT_TRUE(waitUntil(
      [&] {
        return a11y
            .findWhere(
                settings, "label",
                [](const QString& name) { return name.startsWith("伺服器位址與帳號已儲存"); })
            .valid();
      },
      10s));

  ASSERT_TRUE(session.pressConsoleButton(QStringLiteral("碼頭")));
  EXPECT_TRUE(
      waitUntil([&] { return !otherBoard.requestLog().filter("/sdci/UA1006.ASP").isEmpty(); }, 30s))
      << session.program.output().data();
}
