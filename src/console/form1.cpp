#include "console/form1.h"

#include "common/browser_window.h"
#include "console/notify_icon_module.h"

namespace tidex {

Form1::Form1()
    : Form(QStringLiteral("Form1")), engine_(*this, NotifyIconModule::TrayTip(ConsoleCaption())) {
  Text2.setPasswordChar(QLatin1Char('*'));
  Text4.setMultiLine(true);
  Text4.setLocked(true);
  Text8.setMultiLine(true);
  Text11.setToolTipText(QStringLiteral("輸入您要查詢的卸存地。例：KHH1080"));
  Check1.setEnabled(false);
  Check4.setEnabled(false);
  Check5.setEnabled(false);
  Check6.setEnabled(false);
  Command1.setEnabled(false);
  Command1.setToolTipText(QStringLiteral("整批海掛查詢。"));
  Command2.setToolTipText(QStringLiteral("單海掛查詢。"));
  Command3.setToolTipText(QStringLiteral("查詢運行中的海掛及船名。"));
  Command4.setToolTipText(QStringLiteral("開啟運行中的所有視窗。"));
  Command7.setToolTipText(QStringLiteral("查詢船隻進出港時間是否有變動。"));
  Command9.setToolTipText(QStringLiteral("SP查詢"));
  mTryaMenu.setVisible(false);
  layOut();
  wireEvents();
  wireLaunchers();
}

QString Form1::ConsoleCaption() {
  return QStringLiteral("准單查詢 %1.%2.%3")
      .arg(TIDEX_VERSION_MAJOR)
      .arg(TIDEX_VERSION_MINOR)
      .arg(TIDEX_VERSION_PATCH);
}

void Form1::wireEvents() {
  Picture1.onMouseMove = [this](int b, int s, double x, double y) {
    Picture1_MouseMove(b, s, x, y);
  };
  Label8.onMouseDown = [this](int b, int s, int x, int y) { Label8_MouseDown(b, s, x, y); };
  Command4.onMouseDown = [this](int b, int s, int x, int y) { Command4_MouseDown(b, s, x, y); };
  mmExit.onClick = [this] { mmExit_Click(); };
  mShow.onClick = [this] { mShow_Click(); };
  mExit.onClick = [this] { mExit_Click(); };
  mAbout.onClick = [this] { mAbout_Click(); };
  mChangeLog.onClick = [this] { mChangeLog_Click(); };
  monitorStatusMenu.onClick = [this] { openStatusWindow(); };
  settingsMenu.onClick = [this] { openSettingsWindow(); };
  mAutostart.onClick = [this] { mAutostart_Click(); };
  unlockBatchListMenu.onClick = [this] { unlockBatchList(); };
  endProgramMenu.onClick = [this] { confirmAndEndProgram(); };
  trayGraceTimer.onTimer = [this] { showWithoutTray(); };
  Check2.onClick = [this] { Check2_Click(); };
  journal_.onUnwritable = [this] { JournalUnwritable(); };
  DisarmPageDialogs(WebBrowser2);
  DisarmPageDialogs(WebBrowser3);
  DisarmPageDialogs(notificationMailBrowser);
  DisarmPageDialogs(notificationBoardBrowser);
}

}  // namespace tidex
