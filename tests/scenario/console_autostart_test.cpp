#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "platform/autostart_entry.h"
#include "scenario/scenario_helpers.h"

using namespace tidex;
using namespace tidex::scenario;

// The user ticks "開機自動啟動": a valid autostart entry starts the program with the session;
// the tick survives a restart; unticking removes the entry.
TEST(ConsoleAutostart, TickingWritesAValidAutostartEntryAndUntickingRemovesIt) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  const QString entry = config.filePath("autostart/tidex.desktop");
  {
    SimPortDesktop desk;
    ConsoleWindow& console = startConsole(desk);
    EXPECT_FALSE(console.autostartMenu.Checked());
    desk.clickMenu(console.autostartMenu);
    EXPECT_TRUE(console.autostartMenu.Checked());
  }
  ASSERT_TRUE(QFile::exists(entry));
  QProcess validate;
  validate.start("desktop-file-validate", {entry});
  ASSERT_TRUE(validate.waitForFinished(10000));
  EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
  QFile file(entry);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // The program's path has a blank: it goes as one quoted argument.
  EXPECT_TRUE(file.readAll().contains("\nExec=\"/opt/Tidex Port/bin/tidex\"\n"));

  SimPortDesktop desk;
  ConsoleWindow& console = startConsole(desk);
  EXPECT_TRUE(console.autostartMenu.Checked());
  desk.clickMenu(console.autostartMenu);
  EXPECT_FALSE(console.autostartMenu.Checked());
  EXPECT_FALSE(QFile::exists(entry));
  qunsetenv("XDG_CONFIG_HOME");
}
