#include <gtest/gtest.h>

#include "common/settings/settings.h"
#include "common/text/text_codec.h"
#include "console_session.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kPermitQuery = QStringLiteral(
    "GET /DGOC/sea/sea/ISL000I3.jsp?vsl_reg_no=01VXXX&ship_co_cd=&ware_cd=&mft_no=&"
    "start_data_index=1");
const QString kMessage = QStringLiteral("卸貨淮單：01VXXX 含 KHH1080 重櫃。 ");

}  // namespace

// The real program with a number and a location saved from an earlier run: the permit button
// asks the database for the saved number, and the answer comes up in a message box whose text,
// read over the accessibility bus, is the exact message counting down until the box closes.
TEST(ProgramEndToEnd, PermitQueryForTheSavedNumberShowsTheCountdownMessageThatClosesItself) {
  ConsoleSession session;
  const VirtualDisplay& x = session.display;
  const AccessibilityBus& a11y = session.a11y;
  const SitesRunner& sites = session.sites;
  ASSERT_TRUE(sites.control("/_control/customs/permits?regno=01VXXX&laden=KHH2010:3,KHH1080:12"));
  const QString ini = session.home.filePath("Tidex.ini");
  WriteSettingIn(ini, "setup", "003", EncodeText("01VXXX"));
  WriteSettingIn(ini, "setup", "005", EncodeText("KHH1080"));
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const ProgramRunner& program = session.program;

  ASSERT_TRUE(session.clickConsole("push button", "淮單重櫃查詢"));
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
