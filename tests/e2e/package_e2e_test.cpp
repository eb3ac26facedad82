#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "program_runner.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

// A user installs the Debian package and starts the program: its settings live in the user's
// configuration folder, not beside the installed program, and it reaches the configured server.
TEST(Package, TheInstalledProgramKeepsItsSettingsInTheConfigurationFolder) {
  QProcess cpack;
  cpack.setWorkingDirectory(TIDEX_BUILD_DIR);
  cpack.setProcessChannelMode(QProcess::MergedChannels);
  cpack.start("cpack", {"-G", "DEB"});
  ASSERT_TRUE(cpack.waitForFinished(300000));
  ASSERT_EQ(cpack.exitCode(), 0) << cpack.readAll().toStdString();
  const QStringList packages = QDir(TIDEX_BUILD_DIR).entryList({"tidex_*.deb"}, QDir::Files);
  ASSERT_EQ(packages.size(), 1);

  QTemporaryDir root;
  QProcess unpack;
  unpack.start("dpkg", {"-x", QString(TIDEX_BUILD_DIR "/") + packages.front(), root.path()});
  ASSERT_TRUE(unpack.waitForFinished(60000));
  ASSERT_EQ(unpack.exitCode(), 0);
  ASSERT_TRUE(QFile::exists(root.filePath("usr/share/applications/tidex.desktop")));

  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  QTemporaryDir home;
  const QString config = home.filePath(".config/Tidex");
  ASSERT_TRUE(QDir().mkpath(config));
  sites.configure(config);

  QProcess program;
  auto env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"TIDEX_HOME", "XDG_CONFIG_HOME"}) env.remove(name);
  env.insert("HOME", home.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::MergedChannels);
  program.start(root.filePath("usr/bin/tidex"), {});
  ASSERT_TRUE(program.waitForStarted(10000));

  EXPECT_TRUE(waitUntil([&] { return readFile(config + "/Tidex.ini").contains("004=0"); }, 60s))
      << program.readAll().toStdString();
  EXPECT_TRUE(waitUntil(
      [&] { return !sites.requestLog().filter("GET /pda/Tidex_var.php").isEmpty(); }, 30s));
  EXPECT_FALSE(QFile::exists(root.filePath("usr/bin/Tidex.ini")));
  program.kill();
  program.waitForFinished(10000);
}
