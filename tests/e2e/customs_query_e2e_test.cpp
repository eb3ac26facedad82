#include <gtest/gtest.h>

#include "accessibility_bus.h"
#include "common/settings.h"
#include "common/text_codec.h"
#include "program_runner.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = QStringLiteral("准單查詢 1.0.30");
const QString kPermitQuery = QStringLiteral(
    "GET /DGOC/sea/sea/ISL000I3.jsp?vsl_reg_no=01VXXX&ship_co_cd=&ware_cd=&mft_no=&"
    "start_data_index=1");
const QString kMessage = QStringLiteral("卸貨淮單：01VXXX 含 KHH1080 重櫃。 ");

}  // namespace

// The real program with a number and a location saved from an earlier run: the permit button
// asks the database for the saved number, and the answer comes up in a message box whose text,
// read over the accessibility bus, is the exact message counting down until the box closes.
TEST(ProgramEndToEnd, PermitQueryForTheSavedNumberShowsTheCountdownMessageThatClosesItself) {
  VirtualDisplay x;
  ASSERT_TRUE(x.started()) << "Xvfb did not start";
  AccessibilityBus a11y(x.display());
  ASSERT_TRUE(a11y.started()) << "no accessibility bus (dbus-daemon, at-spi2-core)";
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(sites.control("/_control/customs/permits?regno=01VXXX&laden=KHH2010:3,KHH1080:12"));
  QTemporaryDir home;
  const QString ini = home.filePath("Tidex.ini");
  WriteSettingIn(ini, "setup", "003", EncodeText("01VXXX"));
  WriteSettingIn(ini, "setup", "005", EncodeText("KHH1080"));
  sites.configure(home.path());

  ProgramRunner program(home.path(), x.display());
  program.start();
  ASSERT_TRUE(waitUntil([&] { return readFile(ini).contains("004=0"); }, 60s));
  ProgramRunner second(home.path(), x.display());  // brings the hidden console forward
  second.start();
  ASSERT_TRUE(second.waitForExit(10s));
  Accessible button;
  ASSERT_TRUE(waitUntil(
      [&] {
        button = a11y.find(a11y.window(kConsoleCaption), "push button", "淮單重櫃查詢");
        return button.valid();
      },
      30s))
      << program.output().data();

  clickAt(x.display(), a11y.extents(button).center());
  ASSERT_TRUE(waitUntil([&] { return sites.requestLog().contains(kPermitQuery); }, 20s))
      << sites.requestLog().join('\n').toStdString() << program.output().data();
  // The box's text is the accessible name of its label: the message and the seconds left.
  Accessible box;
  ASSERT_TRUE(waitUntil([&] { return (box = a11y.window("訊息")).valid(); }, 20s))
      << program.output().data();
  const auto shows = [&](int seconds) {
    return a11y.find(box, "label", kMessage + QString::number(seconds) + " 秒").valid();
  };
  int first = 0;
  ASSERT_TRUE(waitUntil(
      [&] {
        for (int seconds : {9, 8, 7}) {
          if (shows(seconds)) return (first = seconds) != 0;
        }
        return false;
      },
      5s))
      << "not the message with its countdown";
  EXPECT_TRUE(waitUntil([&] { return shows(first - 2); }, 5s)) << "no countdown from " << first;
  EXPECT_TRUE(waitUntil([&] { return x.visibleWindows("訊息").isEmpty(); }, 15s))
      << "the box stayed";
  EXPECT_TRUE(program.running());
  EXPECT_EQ(sites.requestLog().filter("/DGOC/").size(), 1);
}
