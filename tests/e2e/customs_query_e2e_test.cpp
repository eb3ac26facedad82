#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "browser_harness.h"
#include "common/settings.h"
#include "common/text_codec.h"
#include "console/form1.h"
#include "platform/desktop.h"
#include "program_runner.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = QStringLiteral("准單查詢 1.0.30");
const QString kPermitQuery = QStringLiteral(
    "GET /DGOC/sea/sea/ISL000I3.jsp?vsl_reg_no=01VXXX&ship_co_cd=&ware_cd=&mft_no=&"
    "start_data_index=1");
// The permit button's centre in the console's client area, below a menu bar of about 25 px.
constexpr int kPermitButtonX = 310 + 126 / 2;
constexpr int kPermitButtonY = 40 + 30 / 2 + 25;

QMessageBox* visibleBox() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  }
  return nullptr;
}

QString boxText() { return visibleBox() ? visibleBox()->text() : QString(); }

}  // namespace

// The real program with a number and a location saved from an earlier run: the permit button
// asks the database for the saved number and a message box comes up and goes by itself.
TEST(ProgramEndToEnd, PermitQueryForTheSavedNumberShowsABoxThatClosesItself) {
  VirtualDisplay x;
  ASSERT_TRUE(x.started());
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(sites.control("/_control/customs/permits?regno=01VXXX&laden=KHH1080:12"));
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
  QStringList console;
  ASSERT_TRUE(
      waitUntil([&] { return (console = x.visibleWindows(kConsoleCaption)).size() == 1; }, 10s));

  x.click(console.front(), kPermitButtonX, kPermitButtonY);
  ASSERT_TRUE(waitUntil([&] { return sites.requestLog().contains(kPermitQuery); }, 20s))
      << sites.requestLog().join('\n').toStdString() << program.output().data();
  EXPECT_TRUE(waitUntil([&] { return x.visibleWindows("訊息").size() == 1; }, 20s))
      << "no message box";
  EXPECT_TRUE(waitUntil([&] { return x.visibleWindows("訊息").isEmpty(); }, 20s))
      << "the box stayed";
  EXPECT_TRUE(program.running());
  EXPECT_EQ(sites.requestLog().filter("/DGOC/").size(), 1);
}

// The same answer in the real back end's box, read in-process: the exact message with its
// countdown, an OK button only, closing by itself.
TEST(QtCustomsQuery, TheAnswerCountsDownInARealBoxAndClosesItself) {
  SitesRunner sites;
  ASSERT_TRUE(sites.started());
  ASSERT_TRUE(sites.control("/_control/customs/permits?regno=01VXXX&laden=KHH1080:12"));
  ASSERT_TRUE(sites.control("/_control/customs/fees?regno=01VXXX&registered=1"));
  WriteSettingIn(browserDesktopHome() + "/Tidex.ini", "servers", "customs", sites.base());
  Form1& console = Desktop::current().load<Form1>();
  console.Text3.setText("01VXXX");
  console.Text11.setText("KHH1080");

  console.Command9_Click();
  QMessageBox* box = nullptr;
  ASSERT_TRUE(spinUntil([&] { return (box = visibleBox()) != nullptr; }, 30s));
  EXPECT_EQ(box->windowTitle(), "訊息");
  EXPECT_EQ(box->text(), "卸貨淮單：01VXXX 含 KHH1080 重櫃。 9 秒");
  EXPECT_EQ(box->buttons().size(), 1);
  EXPECT_TRUE(spinUntil([] { return boxText() == "卸貨淮單：01VXXX 含 KHH1080 重櫃。 8 秒"; }, 5s))
      << boxText().toStdString();
  EXPECT_TRUE(spinUntil([] { return visibleBox() == nullptr; }, 15s));

  console.Command11_Click();
  EXPECT_TRUE(spinUntil([] { return boxText() == "01VXXX 規費 已 登錄。 9 秒"; }, 30s))
      << boxText().toStdString();
  EXPECT_TRUE(spinUntil([] { return visibleBox() == nullptr; }, 15s));
}
