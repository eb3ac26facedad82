#pragma once

#include "common/console_state.h"
#include "common/engine_watch.h"
#include "common/journal.h"
#include "common/remote_notifier.h"
#include "monitors/registration/notification_sender.h"
#include "platform/check_box.h"
#include "platform/command_button.h"
#include "platform/form.h"
#include "platform/label.h"
#include "platform/menu.h"
#include "platform/picture_box.h"
#include "platform/task.h"
#include "platform/text_box.h"
#include "platform/timer.h"
#include "platform/web_browser.h"

namespace tidex {

// The main console: settings and input fields, the tray icon, the launchers and the console
// timers. Some of its controls are the program's shared state: the other windows reach them
// through the ConsoleState that the console hands them.
class Form1 final : public Form, public ConsoleState {
 public:
  Form1();

  // "准單查詢 1.0.30": identifies the console to a second copy of the program.
  static QString ConsoleCaption();

  TextBox Text1{*this, "Text1", "ID"};
  TextBox Text2{*this, "Text2", "PWD"};
  TextBox Text3{*this, "Text3", "單海掛"};
  TextBox Text4{*this, "Text4", "01VXXX\r\n01VYYY\r\n"};
  TextBox Text5{*this, "Text5", "批量船掛"};
  TextBox Text6{*this, "Text6"};
  TextBox Text8{*this, "Text8", "Text8"};
  TextBox Text9{*this, "Text9", "YM HARMONY"};
  TextBox Text10{*this, "Text10", "Text10"};
  TextBox Text11{*this, "Text11", "KHH1080"};
  TextBox Text12{*this, "Text12", "1108"};
  TextBox Text13{*this, "Text13"};

  Label Label1{*this, "Label1", "0"};
  Label Label2{*this, "Label2", "0"};
  Label Label3{*this, "Label3", "帳號"};
  Label Label4{*this, "Label4", "密碼"};
  Label Label5{*this, "Label5", "海掛"};
  Label Label6{*this, "Label6", "0"};
  Label Label7{*this, "Label7", "運行："};
  Label Label8{*this, "Label8", "Exit"};
  Label Label9{*this, "Label9", "所處卸存地"};
  Label Label10{*this, "Label10", "===卸貨准單清表==="};
  Label Label11{*this, "Label11", "Label11"};

  CheckBox Check1{*this, "Check1", "過濾", 1};
  CheckBox Check2{*this, "Check2", "靜音模式", 0};
  CheckBox Check3{*this, "Check3", "顯示通知", 1};
  CheckBox Check4{*this, "Check4", "隱藏界面", 1};
  CheckBox Check5{*this, "Check5", "每日自動重開海掛資料庫", 1};
  CheckBox Check6{*this, "Check6", "隱藏系統匣", 0};

  CommandButton Command1{*this, "Command1", "整批查詢"};
  CommandButton Command2{*this, "Command2", "單海掛查詢"};
  CommandButton Command3{*this, "Command3", "運作中視窗"};
  CommandButton Command4{*this, "Command4", "開啟所有視窗"};
  CommandButton Command5{*this, "Command5", "自動查詢"};
  CommandButton Command6{*this, "Command6", "Command6"};
  CommandButton Command7{*this, "Command7", "船名"};
  CommandButton Command8{*this, "Command8", "BC"};
  CommandButton Command9{*this, "Command9", "淮單重櫃查詢"};
  CommandButton Command10{*this, "Command10", "碼頭"};
  CommandButton Command11{*this, "Command11", "規費登錄查詢"};
  CommandButton Command12{*this, "Command12", "自訂"};
  CommandButton Command13{*this, "Command13", "BA"};
  CommandButton Command14{*this, "Command14", "BE"};

  Timer Timer1{*this, "Timer1", 3000, false};
  Timer Timer2{*this, "Timer2", 100, false};
  Timer Timer3{*this, "Timer3", 3000, false};
  Timer Timer4{*this, "Timer4", 1000, true};
  Timer Timer5{*this, "Timer5", 500, false};
  Timer Timer6{*this, "Timer6", 500, false};
  Timer Timer7{*this, "Timer7", 500, false};
  Timer Timer8{*this, "Timer8", 30000, true};  // writes the journal entries held back
  // How long a start without a tray stays hidden: an autostart may come before the panel.
  Timer trayGraceTimer{*this, "trayGraceTimer", 10000, false};

  WebBrowser WebBrowser2{*this, "WebBrowser2"};
  WebBrowser WebBrowser3{*this, "WebBrowser3"};
  // The notifications whose registration monitor is gone are sent on these.
  WebBrowser notificationMailBrowser{*this, "notificationMailBrowser"};
  WebBrowser notificationBoardBrowser{*this, "notificationBoardBrowser"};

  PictureBox Picture1{*this, "Picture1", ":/tidex.png"};

  Menu mFile{*this, "mFile", "File"};
  Menu mmExit{*this, "mmExit", "Exit", &mFile};
  Menu mTryaMenu{*this, "mTryaMenu", "TryaMenu"};
  Menu mShow{*this, "mShow", "Show", &mTryaMenu};
  Menu m1{*this, "m1", "-", &mTryaMenu};
  Menu mExit{*this, "mExit", "Close", &mTryaMenu};
  Menu mChangeLog{*this, "mChangeLog", "變更紀錄"};
  Menu monitorStatusMenu{*this, "monitorStatusMenu", "監看狀態"};
  Menu settingsMenu{*this, "settingsMenu", "設定"};
  Menu mHelp{*this, "mHelp", "Help"};
  Menu mAbout{*this, "mAbout", "About", &mHelp};
  Menu mGetVar{*this, "mGetVar", "GetVar"};
  Menu mAutostart{*this, "mAutostart", "開機自動啟動", &mFile};
  // The batch-list unlock and the quit, for desktops that keep Ctrl+Alt with a click to
  // themselves.
  Menu unlockBatchListMenu{*this, "unlockBatchListMenu", "解除批量清單鎖定", &mFile};
  Menu endProgramMenu{*this, "endProgramMenu", "結束程式", &mFile};

  // ConsoleState
  CheckBox& SilentMode() override { return Check2; }
  CheckBox& ShowNotification() override { return Check3; }
  CheckBox& HideTray() override { return Check6; }
  TextBox& Account() override { return Text1; }
  TextBox& Password() override { return Text2; }
  TextBox& RegistrationNumber() override { return Text3; }
  Label& ActivityTime() override { return Label11; }
  TextBox& VesselName() override { return Text9; }
  TextBox& WharfCode() override { return Text12; }
  TextBox& QueryAddress() override { return Text13; }
  Timer& ReopenVessel() override { return Timer5; }
  Timer& ReopenWharf() override { return Timer6; }
  Timer& ReopenAddress() override { return Timer7; }
  EngineWatch& BrowserEngine() override { return engine_; }
  Journal& journal() override { return journal_; }
  // Tells the remote targets of Tidex.ini what happened.
  RemoteNotifier& remoteNotifier() { return remoteNotifier_; }

  void Form_Load() override;
  void Form_Activate() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;
  void Form_Unload(int& cancel) override;

  void Picture1_MouseMove(int button, int shift, double x, double y);
  void Label8_MouseDown(int button, int shift, int x, int y);
  void Command4_MouseDown(int button, int shift, int x, int y);
  void mmExit_Click();
  void mShow_Click();
  void mExit_Click();
  void mAbout_Click();
  // Asks, defaulting to No; Yes records the end time and ends the program.
  Task confirmAndEndProgram();
  // Opens the change-log window, or brings it forward when it is open.
  void mChangeLog_Click();
  // Opens the monitor status window, or brings it forward when it is open.
  void openStatusWindow();
  // Opens the settings window, or brings it forward when it is open.
  void openSettingsWindow();
  void Check2_Click();

  // Launchers and the batch list.
  enum class MonitorKind { Registration, Vessel, Wharf, Url };
  Task Command2_Click();
  Task Command7_Click();
  Task Command10_Click();
  Task Command12_Click();
  void Command1_Click();
  void Command5_Click();
  void Command3_Click();
  void Command4_Click();
  void Command6_Click();
  void Command8_Click();
  void Command13_Click();
  void Command14_Click();
  void Text4_MouseDown(int button, int shift, int x, int y);
  void unlockBatchList();

  // Console timers.
  void Timer1_Timer();
  Task Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void Timer5_Timer();
  void Timer6_Timer();
  void Timer7_Timer();
  void Timer8_Timer();
  // The journal could not be written: said once, until it can be again.
  Task JournalUnwritable();
  void mGetVar_Click();
  // Starts the program with the desktop session, or no longer.
  void mAutostart_Click();

  // Customs queries: the page in WebBrowser3 and the answer to it.
  void Command9_Click();
  void Command11_Click();
  Task WebBrowser3_DocumentComplete();

  // Input fields.
  void SelectAllOnFocus(TextBox& field);
  void Text3_Change();
  void Text5_Change();

 private:
  // The common beginning of a batch step; gives the index of the last line of the list.
  int BatchStepStart();
  // Whether the filter lets the batch line through, by its record in the settings file.
  enum class FilterVerdict { Launch, Done, Skip };
  FilterVerdict FilterBatchLine();
  void LaunchBatchLine(bool visible);
  // The automatic batch's launch: none without an account, which the service would refuse
  // and so end the program; that is said once while the account stays missing.
  void LaunchHiddenBatchLine();
  bool HasAccount() const;
  Task TellAccountMissing();
  void EndAutomaticBatch();
  void MaskAccount();
  void AdvanceBatchIndex();
  Task LaunchSingle(TextBox& field, bool upperCase, QString refusal, MonitorKind kind);
  void wireLaunchers();

  void layOut();
  void wireEvents();
  // Ctrl+Alt (without Shift) with a mouse button ends the program at once.
  void quitGesture(int shift);
  // Removes the icon, closes the journal and ends the program, however it was asked to end.
  void endProgram();
  void recordEndTime();

  // Without a tray the console shows after a grace and offers the tray's commands in its menu
  // bar; hiding it then minimises it, which leaves it in reach.
  void watchForTray();
  void showWithoutTray();
  void trayAppeared();
  void hideToTray();

  EngineWatch engine_;
  Journal journal_;
  RemoteNotifier remoteNotifier_{journal_};
  bool accountMissingTold_ = false;
  NotificationSender notificationSender_{*this, *this, notificationMailBrowser,
                                         notificationBoardBrowser};
};

}  // namespace tidex
