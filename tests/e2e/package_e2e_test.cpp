#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "program_runner.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

// The Debian package passes Debian's checks and holds the program with its documentation. A
// user installs it and starts the program: its settings live in the user's configuration
// folder, not beside the installed program, and it reaches the configured server.
TEST(Package, PassesDebiansChecksAndTheInstalledProgramKeepsItsSettingsInTheConfigurationFolder) {
  QProcess cpack;
  cpack.setWorkingDirectory(TIDEX_BUILD_DIR);
  cpack.setProcessChannelMode(QProcess::MergedChannels);
  cpack.start("cpack", {"-G", "DEB"});
  ASSERT_TRUE(cpack.waitForFinished(300000));
  ASSERT_EQ(cpack.exitCode(), 0) << cpack.readAll().toStdString();
  const QStringList packages = QDir(TIDEX_BUILD_DIR).entryList({"tidex_*.deb"}, QDir::Files);
  ASSERT_EQ(packages.size(), 1);

  const QString deb = QString(TIDEX_BUILD_DIR "/") + packages.front();

  // Debian's own checks find no error (warnings kept on purpose are listed in the README).
  QProcess lintian;
  lintian.setProcessChannelMode(QProcess::MergedChannels);
  lintian.start("lintian", {"--fail-on", "error", deb});
  ASSERT_TRUE(lintian.waitForFinished(300000));
  EXPECT_EQ(lintian.exitCode(), 0) << lintian.readAll().toStdString();
  // Each package it needs named once.
  QProcess field;
  field.start("dpkg-deb", {"--field", deb, "Depends"});
  ASSERT_TRUE(field.waitForFinished(60000));
  QStringList depends;
  for (const QString& item : QString::fromUtf8(field.readAll()).split(',')) {
    depends << item.trimmed().section(' ', 0, 0);
  }
  EXPECT_EQ(depends.removeDuplicates(), 0) << depends.join(", ").toStdString();

  QTemporaryDir root;
  QProcess unpack;
  unpack.start("dpkg", {"-x", deb, root.path()});
  ASSERT_TRUE(unpack.waitForFinished(60000));
  ASSERT_EQ(unpack.exitCode(), 0);
  ASSERT_TRUE(QFile::exists(root.filePath("usr/share/applications/tidex.desktop")));
  EXPECT_FALSE(QFile::exists(root.filePath("usr/bin/tidex-sites"))) << "a test tool, not for users";
  // The documentation under the package's name; every picture the README shows is there.
  const QDir doc(root.filePath("usr/share/doc/tidex"));
  EXPECT_TRUE(doc.exists("copyright"));
  const QString readme = readFile(doc.filePath("README.md"));
  ASSERT_FALSE(readme.isEmpty());
  static const QRegularExpression picture(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
  int pictures = 0;
  for (const auto& match : picture.globalMatch(readme)) {
    ++pictures;
    EXPECT_TRUE(doc.exists(match.captured(1))) << match.captured(1).toStdString();
  }
  EXPECT_GT(pictures, 0);

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
  // Without a notification target, the mail library and the keyring stay out of the program.
  ASSERT_TRUE(QFile::exists(root.filePath("usr/lib/tidex/tidex-keyring.so")));
  const QByteArray maps = readFile(QStringLiteral("/proc/%1/maps").arg(program.processId()));
  ASSERT_FALSE(maps.isEmpty());
  EXPECT_FALSE(maps.contains("libcurl")) << "libcurl loaded at start-up";
  EXPECT_FALSE(maps.contains("keychain")) << "QtKeychain loaded at start-up";
  program.kill();
  program.waitForFinished(10000);
}
