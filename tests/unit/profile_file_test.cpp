#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#include "test_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/settings/settings.h"

namespace tidex {
namespace {
using namespace Qt::StringLiterals;

class ProfileFileTest : public ::testing::Test {
 protected:
  QString path(const QString& name = u"Tidex.ini"_s) const { return dir_.filePath(name); }

  void put(const QByteArray& contents, const QString& name = u"Tidex.ini"_s) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(contents), contents.size());
  }

  QByteArray contents(const QString& name = u"Tidex.ini"_s) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  QByteArray get(const QByteArray& section, const QByteArray& key, int bufferSize = 256) const {
    return ProfileFile::getString(section, key, "<default>", bufferSize, path());
  }

  bool set(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    return ProfileFile::writeString(section, key, value, path());
  }

  QStringList entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

  // Permission checks do not apply to root.
  static bool permissionsApply() { return geteuid() != 0; }

  QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, ReadsValues) {
  put("; top comment\r\n"
      "orphan=1\r\n"
      "[Setup]\r\n"
      "Name = Value with blanks \t\r\n"
      "Quoted=\"  padded  \"\r\n"
      "Single= 'x' \r\n"
      "Mixed=\"x'\r\n"
      "Lone=\"\r\n"
      "Empty=\r\n"
      ";Hidden=1\r\n"
      "  ;Indented=1\r\n"
      "NoEquals\r\n"
      "Dup=first\r\n"
      "dup=second\r\n"
      "Eq=a=b\r\n"
      "\xA4\x41=big5\r\n"
      "\t[ Servers ]  \n"
      "Board=http://b/\n"
      "[setup]\r\n"
      "Later=2\r"
      "[Mac]\rkey=cr\r"
      "[Last]\n"
      "tail=no line break");
  const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
      {"Setup", "Name", "Value with blanks"},
      {"SETUP", " nAME\t", "Value with blanks"},
      {"Setup", "Quoted", "  padded  "},
      {"Setup", "Single", "x"},
      {"Setup", "Mixed", "\"x'"},
      {"Setup", "Lone", "\""},
      {"Setup", "Empty", ""},
      {"Setup", ";Hidden", "<default>"},
      {"Setup", "Hidden", "<default>"},
      {"Setup", ";Indented", "<default>"},
      {"Setup", "NoEquals", "<default>"},
      {"Setup", "Dup", "first"},
      {"Setup", "Eq", "a=b"},
      {"Setup", "\xA4\x41", "big5"},
      {"Setup", "\xA4\x61", "<default>"},  // trail bytes are not letters
      {"servers", "board", "http://b/"},
      {"Setup", "Later", "<default>"},  // only the first section of a name counts
      {"mac", "KEY", "cr"},
      {"Last", "tail", "no line break"},
      {"", "orphan", "<default>"},
      {"Setup", "", "<default>"},
      {"Nowhere", "Name", "<default>"},
      {"Setup", "Missing", "<default>"},
  };
  for (const auto& [section, key, expected] : cases) {
    EXPECT_EQ(get(section, key), expected) << section.toStdString() << "/" << key.toStdString();
  }
}

TEST_F(ProfileFileTest, ReadsAWholeSectionAsGetStringWouldKeyByKey) {
  put("[pilots]\r\n0037 = \xa4\xfd\xa4\x6a\xa9\xfa\r\n; 0038=comment\r\n0039=\"x\"\n"
      "0037=second\r\nnot a key\r\n[PILOTS]\r\n0041=other section\r\n");
  using Entries = std::vector<std::pair<QByteArray, QByteArray>>;
  const Entries section = ProfileFile::getSection(" Pilots ", path());
  EXPECT_EQ(section, (Entries{{"0037", "\xa4\xfd\xa4\x6a\xa9\xfa"}, {"0039", "x"}}));
  for (const auto& [key, value] : section) EXPECT_EQ(get("pilots", key), value);
  EXPECT_TRUE(ProfileFile::getSection("missing", path()).empty());
  EXPECT_TRUE(ProfileFile::getSection("pilots", path(u"none.ini"_s)).empty());
}

TEST_F(ProfileFileTest, CutsToBufferWithoutSplittingCharacters) {
  put("[s]\nascii=abcdef\nbig5=\xA4\xA4\xA4\xE5\nmixed=a\xA4\xA4\nlead=\xA4\xA4"
      "a\n");
  const std::tuple<QByteArray, int, QByteArray> cases[] = {
      {"ascii", 7, "abcdef"},  {"ascii", 4, "abc"}, {"ascii", 1, ""},
      {"ascii", 0, ""},        {"ascii", -5, ""},   {"big5", 5, "\xA4\xA4\xA4\xE5"},
      {"big5", 4, "\xA4\xA4"}, {"mixed", 3, "a"},   {"mixed", 4, "a\xA4\xA4"},
      {"lead", 3, "\xA4\xA4"},  // the second 0xA4 is a trail byte, not a lead byte
  };
  for (const auto& [key, size, expected] : cases) {
    EXPECT_EQ(get("s", key, size), expected) << key.toStdString() << " " << size;
  }
  EXPECT_EQ(ProfileFile::getString("s", "none", "abcdef", 3, path()), "ab");
  EXPECT_EQ(ProfileFile::getString("s", "none", "\xA4\xA4\xA4\xA4", 4, path()), "\xA4\xA4");
}

TEST_F(ProfileFileTest, MissingOrUnusualFilesGiveTheDefault) {
  EXPECT_EQ(get("s", "k"), "<default>");
  EXPECT_EQ(ProfileFile::getString("s", "k", "d", 256, dir_.path()), "d");  // a folder

  QByteArray garbage(200000, '\0');
  for (qsizetype i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 131 % 251);
  put(garbage + "\n[s]\nk=found\n");
  EXPECT_EQ(get("nothing", "k"), "<default>");
  EXPECT_EQ(get("s", "k"), "found");
  EXPECT_TRUE(set("s", "k", "new"));
  EXPECT_EQ(contents(), garbage + "\n[s]\nk=new\n");
}

TEST_F(ProfileFileTest, CreatesMissingFile) {
  EXPECT_TRUE(set("setup", "004", "0"));
  EXPECT_EQ(contents(), "[setup]\r\n004=0\r\n");
  EXPECT_EQ(entries(), QStringList{u"Tidex.ini"_s});

  put("");
  EXPECT_TRUE(set("setup", "004", "0"));
  EXPECT_EQ(contents(), "[setup]\r\n004=0\r\n");
}

TEST_F(ProfileFileTest, WritesInPlaceKeepingOtherLines) {
  const QByteArray before =
      "[first]\r\n"
      "a=1\r\n"
      "\r\n"
      "[Middle]\n"
      "; note\n"
      "  Key = old \n"
      "other=2\n"
      "   \n"
      "\n"
      "[empty]\r\n"
      "[last]\r\n"
      "z=9";
  // Each write changes before by replacing one piece of it.
  const std::tuple<const char*, const char*, const char*, QByteArray, QByteArray> cases[] = {
      {"middle", "KEY", "new", "  Key = old \n", "Key=new\n"},
      {"Middle", "added", "v", "other=2\n", "other=2\nadded=v\r\n"},
      {"first", "b", "2", "a=1\r\n", "a=1\r\nb=2\r\n"},
      {"EMPTY", "k", "v", "[empty]\r\n", "[empty]\r\nk=v\r\n"},
      {"last", "y", "8", "z=9", "z=9\r\ny=8\r\n"},
      {"last", "z", "", "z=9", "z="},
      {"new", "k", "v", "z=9", "z=9\r\n[new]\r\nk=v\r\n"},
  };
  for (const auto& [section, key, value, from, to] : cases) {
    put(before);
    EXPECT_TRUE(set(section, key, value)) << section << "/" << key;
    EXPECT_EQ(contents(), QByteArray(before).replace(from, to)) << section << "/" << key;
    EXPECT_EQ(get(section, key), value);
  }

  put("[a]\nx=1\n");
  EXPECT_TRUE(set("b", "k", "v"));
  EXPECT_EQ(contents(), "[a]\nx=1\n[b]\r\nk=v\r\n");
  put("[a]\r\nx=1\r\n[A]\r\nx=2\r\n");
  EXPECT_TRUE(set("a", "X", "3"));
  EXPECT_EQ(contents(), "[a]\r\nx=3\r\n[A]\r\nx=2\r\n");
}

TEST_F(ProfileFileTest, ValuesCannotInjectLines) {
  put("[s]\r\nk=1\r\n");
  EXPECT_TRUE(set("s", "k", "a\r\n[evil]\r\nx=1\n"));
  EXPECT_EQ(contents(), "[s]\r\nk=a  [evil]  x=1 \r\n");
  EXPECT_EQ(get("evil", "x"), "<default>");
  EXPECT_EQ(get("s", "k"), "a  [evil]  x=1");

  EXPECT_FALSE(set("s", "k\r\nevil", "1"));
  EXPECT_FALSE(set("s\n[x]", "k", "1"));
  EXPECT_FALSE(set("s", "[evil]", "1"));  // "[evil]=1" would read as a section
  EXPECT_FALSE(set("s", ";k", "1"));
  EXPECT_FALSE(set("s", "a=b", "1"));
  EXPECT_FALSE(set("", "k", "1"));
  EXPECT_FALSE(set(" \t", "k", "1"));
  EXPECT_FALSE(set("s", "", "1"));
  EXPECT_EQ(contents(), "[s]\r\nk=a  [evil]  x=1 \r\n");
}

// A read-only file is decided by its mode, so it is left alone even for root; a file that is
// replaced keeps its mode.
TEST_F(ProfileFileTest, ReadOnlyFileIsLeftAloneAndAReplacedFileKeepsItsMode) {
  const QByteArray before = "[s]\r\nk=1\r\n";
  put(before);
  QFile file(path());
  ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadUser));
  EXPECT_FALSE(set("s", "k", "2"));
  EXPECT_EQ(contents(), before);

  const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                    QFileDevice::WriteUser | QFileDevice::ReadGroup;
  ASSERT_TRUE(file.setPermissions(mode));
  EXPECT_TRUE(set("s", "k", "2"));
  EXPECT_EQ(QFileInfo(path()).permissions() & ~QFileDevice::ExeUser, mode);
}

TEST_F(ProfileFileTest, ReadOnlyFolderIsLeftAlone) {
  if (!permissionsApply()) GTEST_SKIP() << "running as root";
  const QByteArray before = "[s]\r\nk=1\r\n";
  put(before);

  QFile folder(dir_.path());
  const auto folderWritable = folder.permissions();
  ASSERT_TRUE(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  EXPECT_FALSE(set("s", "k", "2"));
  EXPECT_FALSE(ProfileFile::writeString("s", "k", "2", path(u"other.ini"_s)));
  ASSERT_TRUE(folder.setPermissions(folderWritable));
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(entries(), QStringList{u"Tidex.ini"_s});
}

TEST_F(ProfileFileTest, FailedWriteLeavesOriginalIntact) {
  const QByteArray before = "[s]\r\nk=1\r\n";
  put(before);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto* const oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = set("s", "k", QByteArray(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(entries(), QStringList{u"Tidex.ini"_s});
}

// Settings sit on top of profile files: code page conversion, buffer and server defaults.
TEST_F(ProfileFileTest, SettingsConvertTextAndDefaultServers) {
  const QString file = path();
  EXPECT_EQ(ServerAddressIn(file, u"board"_s), u"http://127.0.0.1:8080"_s);
  EXPECT_EQ(ServerAddressIn(file, u"boardip"_s), u"http://127.0.0.1:8080"_s);

  WriteSettingIn(file, u"servers"_s, u"board"_s, u"http://board:81///"_s);
  WriteSettingIn(file, u"servers"_s, u"maker"_s, u"http://maker/"_s);
  EXPECT_EQ(ServerAddressIn(file, u"board"_s), u"http://board:81"_s);
  EXPECT_EQ(ServerAddressIn(file, u"boardip"_s), u"http://board:81"_s);
  EXPECT_EQ(ServerAddressIn(file, u"maker"_s), u"http://maker"_s);
  EXPECT_EQ(ServerAddressIn(file, u"customs"_s), u"http://127.0.0.1:8080"_s);
  WriteSettingIn(file, u"servers"_s, u"boardip"_s, u"http://10.0.0.1/"_s);
  EXPECT_EQ(ServerAddressIn(file, u"boardip"_s), u"http://10.0.0.1"_s);
  // One spelling of each address: the pages built on it are the ones the browser reports.
  WriteSettingIn(file, u"servers"_s, u"imct"_s, u"HTTP://IMCT.Test:80/"_s);
  EXPECT_EQ(ServerAddressIn(file, u"imct"_s), u"http://imct.test"_s);
  WriteSettingIn(file, u"servers"_s, u"imct"_s, u"https://IMCT.test:443/Base/"_s);
  EXPECT_EQ(ServerAddressIn(file, u"imct"_s), u"https://imct.test/Base"_s);
  WriteSettingIn(file, u"servers"_s, u"imct"_s, u"https://imct.test:80"_s);
  EXPECT_EQ(ServerAddressIn(file, u"imct"_s), u"https://imct.test:80"_s);

  WriteSettingIn(file, u"單位"_s, u"名稱"_s, u"單海掛"_s);
  EXPECT_EQ(ReadSettingIn(file, u"單位"_s, u"名稱"_s, u""_s), u"單海掛"_s);
  EXPECT_TRUE(contents().contains("[\xB3\xE6\xA6\xEC]\r\n"));

  WriteSettingIn(file, u"s"_s, u"long"_s, QString(300, u'中'));
  EXPECT_EQ(ReadSettingIn(file, u"s"_s, u"long"_s, u""_s), QString(127, u'中'));
  put("[s]\r\nnul=ab" + QByteArray(1, '\0') + "cd\r\n");
  EXPECT_EQ(ReadSettingIn(file, u"s"_s, u"nul"_s, u""_s), u"ab"_s);
  EXPECT_EQ(ReadSettingIn(file, u"s"_s, u"none"_s, u"fallback"_s), u"fallback"_s);
}

}  // namespace
// A target removed in the settings window leaves no line behind, wherever its section stands,
// and a twice-written key or section goes whole; the rest keeps its bytes.
TEST_F(ProfileFileTest, RemovesAKeyOrAWholeSectionAndNothingElse) {
  put("[notify]\r\nhook=webhook\r\nphone=email\r\n"
      "[notify hook]\r\naddress=x\r\nsecret=T0KEN\r\n\r\n"
      "[other]\nkept=1\n"
      "[NOTIFY HOOK]\nsecret=again\n");
  EXPECT_TRUE(ProfileFile::remove("notify", "HOOK", path()));
  EXPECT_TRUE(ProfileFile::remove("notify hook", "", path()));
  EXPECT_TRUE(ProfileFile::remove("absent", "", path()));
  EXPECT_EQ(contents(), "[notify]\r\nphone=email\r\n[other]\nkept=1\n");
}

// A file the program creates is its owner's alone; one others could read becomes so when a
// secret is written into it, and stays as it was for any other value.
TEST_F(ProfileFileTest, NewFilesAndFilesTakingASecretAreTheOwnersAlone) {
  const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
  ASSERT_TRUE(set("setup", "001", "x"));
  EXPECT_FALSE(QFile::permissions(path()) & others);
  QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | others);
  ASSERT_TRUE(set("servers", "board", "http://h"));
  EXPECT_TRUE(QFile::permissions(path()) & others);
  ASSERT_TRUE(
      ProfileFile::writeString("setup", "002", "c2VjcmV0", path(), ProfileFile::Privacy::Secret));
  EXPECT_FALSE(QFile::permissions(path()) & others);
  EXPECT_EQ(get("setup", "002"), "c2VjcmV0");
}

}  // namespace tidex
