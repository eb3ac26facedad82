#include "common/autostart.h"
#include "common/date_text.h"
#include "common/settings.h"
#include "common/timed_box.h"
#include "console/console_fields.h"
#include "console/form1.h"
#include "console/notify_icon_module.h"
#include "platform/desktop.h"

namespace tidex {

void Form1::Form_Load() {
  // The start-up window shows itself after loading unless it hides here.
  setVisible(Check4.Value() != 1);
  setCaption(ConsoleCaption());
  Text13.setText(ServerAddress(QStringLiteral("board")) +
                 QStringLiteral("/sdci/UA1006.ASP?QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&"
                                "SP_CALL=&SEARCH=1&iPage=&OK=?j?M"));
  WebBrowser2.setSilent(true);
  WebBrowser3.setSilent(true);
  Move(0, 7);
  NotifyIconModule::Add(Picture1, ConsoleCaption());
  setTopMost(true);
  LoadConsoleFields(*this);
  WriteSetting(QStringLiteral("setup"), QStringLiteral("004"), QStringLiteral("0"));
  WebBrowser2.Navigate2(ServerAddress(QStringLiteral("maker")) +
                        QStringLiteral("/pda/Tidex_var.php"));
  Label11.setCaption(GeneralDateText(Desktop::current().now()));
  mAutostart.setChecked(AutostartEnabled());
  Form_Activate();
  // A second copy has ended by now: it sends nothing and waits for no tray.
  if (isUnloaded()) return;
  notificationSender_.start();
  remoteNotifier_.start(engine_);
  watchForTray();
}

void Form1::Form_Activate() {
  setCaption(ConsoleCaption());
  Desktop& desktop = Desktop::current();
  if (desktop.previousInstance()) {
    const QString remembered = Caption();
    setCaption(QString());  // so that the search cannot find this copy's own console
    desktop.activateOtherInstance(remembered);
    NotifyIconModule::Remove();
    desktop.endProgram();
    return;
  }
  if (Check6.Value() == 1) NotifyIconModule::Remove();
}

void Form1::Form_QueryUnload(int& cancel, int unloadMode) {
  if (unloadMode == AppWindows || unloadMode == AppTaskManager) {
    NotifyIconModule::Remove();
    journal_.close();
    return;
  }
  cancel = 1;
  hideToTray();
}

void Form1::Form_Unload(int& /*cancel*/) {}

void Form1::Label8_MouseDown(int /*button*/, int shift, int /*x*/, int /*y*/) {
  quitGesture(shift);
}

void Form1::Command4_MouseDown(int /*button*/, int shift, int /*x*/, int /*y*/) {
  quitGesture(shift);
}

void Form1::quitGesture(int shift) {
  if (shift != (CtrlKey | AltKey)) return;
  endProgram();
}

void Form1::endProgram() {
  NotifyIconModule::Remove();
  journal_.close();
  Desktop::current().endProgram();
}

Task Form1::confirmAndEndProgram() {
  // Nobody may be watching: only a Yes ends the program, never the countdown.
  const int answer =
      co_await ShowTimedBox(QStringLiteral("確定要結束程式嗎？ "), YesNo | kSecondButtonDefault);
  if (answer != BoxYes) co_return;
  recordEndTime();
  endProgram();
}

}  // namespace tidex
