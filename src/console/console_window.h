#pragma once

#include "common/console_state.h"
#include "common/health/engine_watch.h"
#include "common/journal/journal.h"
#include "common/remote/remote_notifier.h"
#include "console/monitor_kinds.h"
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
// timers. The other windows read what they need of it (the switches, the account, a kind's
// watched item) and ask it things through the ConsoleState that the console hands them.
class ConsoleWindow final : public Form, public ConsoleState {
 public:
  ConsoleWindow();

  // "准單查詢 1.0.30": identifies the console to a second copy of the program.
  static QString ConsoleCaption();

  TextBox accountField{*this, "Text1", "ID"};
  TextBox passwordField{*this, "Text2", "PWD"};
  TextBox registrationField{*this, "Text3", "單海掛"};
  TextBox batchListField{*this, "Text4", "01VXXX\r\n01VYYY\r\n"};
  TextBox batchLineField{*this, "Text5", "批量船掛"};
  TextBox vesselField{*this, "Text9", "YM HARMONY"};
  TextBox locationField{*this, "Text11", "KHH1080"};
  TextBox wharfField{*this, "Text12", "1108"};
  TextBox urlField{*this, "Text13"};

  Label batchIndexLabel{*this, "Label1", "0"};
  Label batchCountLabel{*this, "Label2", "0"};
  Label accountLabel{*this, "Label3", "帳號"};
  Label passwordLabel{*this, "Label4", "密碼"};
  Label registrationLabel{*this, "Label5", "海掛"};
  Label openWindowCountLabel{*this, "Label6", "0"};
  Label openWindowCaptionLabel{*this, "Label7", "運行："};
  Label exitLabel{*this, "Label8", "Exit"};
  Label locationLabel{*this, "Label9", "所處卸存地"};
  Label verificationHeading{*this, "Label10", "===卸貨准單清表==="};
  Label activityTimeLabel{*this, "Label11", "Label11"};

  CheckBox batchFilterCheck{*this, "Check1", "過濾", 1};
  CheckBox silentModeCheck{*this, "Check2", "靜音模式", 0};
  CheckBox showNotificationCheck{*this, "Check3", "顯示通知", 1};
  CheckBox hideConsoleCheck{*this, "Check4", "隱藏界面", 1};
  CheckBox dailyReopenCheck{*this, "Check5", "每日自動重開海掛資料庫", 1};
  CheckBox hideTrayCheck{*this, "Check6", "隱藏系統匣", 0};

  CommandButton batchStepButton{*this, "Command1", "整批查詢"};
  CommandButton registrationButton{*this, "Command2", "單海掛查詢"};
  CommandButton openWindowsButton{*this, "Command3", "運作中視窗"};
  CommandButton showAllButton{*this, "Command4", "開啟所有視窗"};
  CommandButton automaticBatchButton{*this, "Command5", "自動查詢"};
  CommandButton batchListFetchButton{*this, "Command6", "Command6"};
  CommandButton vesselButton{*this, "Command7", "船名"};
  CommandButton imctBcButton{*this, "Command8", "BC"};
  CommandButton customsPermitButton{*this, "Command9", "淮單重櫃查詢"};
  CommandButton wharfButton{*this, "Command10", "碼頭"};
  CommandButton feeRegistrationButton{*this, "Command11", "規費登錄查詢"};
  CommandButton urlButton{*this, "Command12", "自訂"};
  CommandButton imctBaButton{*this, "Command13", "BA"};
  CommandButton imctBeButton{*this, "Command14", "BE"};

  Timer showAllResetTimer{*this, "Timer1", 3s, false};
  Timer batchListFetchTimer{*this, "Timer2", 100ms, false};
  Timer automaticBatchTimer{*this, "Timer3", 3s, false};
  Timer halfHourTimer{*this, "Timer4", 1s, true};
  Timer reopenVesselTimer{*this, "Timer5", 500ms, false};
  Timer reopenWharfTimer{*this, "Timer6", 500ms, false};
  Timer reopenUrlTimer{*this, "Timer7", 500ms, false};
  Timer journalFlushTimer{*this, "Timer8", 30s, true};  // writes the journal entries held back
  // How long a start without a tray stays hidden: an autostart may come before the panel.
  Timer trayGraceTimer{*this, "trayGraceTimer", 10s, false};

  WebBrowser batchListBrowser{*this, "WebBrowser2"};
  WebBrowser customsBrowser{*this, "WebBrowser3"};
  // The notifications whose registration monitor is gone are sent on these.
  WebBrowser notificationMailBrowser{*this, "notificationMailBrowser"};
  WebBrowser notificationBoardBrowser{*this, "notificationBoardBrowser"};

  PictureBox trayIconPicture{*this, "Picture1", ":/tidex.png"};

  Menu fileMenu{*this, "mFile", "File"};
  Menu hideMenu{*this, "mmExit", "Exit", &fileMenu};
  Menu trayMenu{*this, "mTryaMenu", "TryaMenu"};
  Menu showMenu{*this, "mShow", "Show", &trayMenu};
  Menu traySeparator{*this, "m1", "-", &trayMenu};
  Menu closeMenu{*this, "mExit", "Close", &trayMenu};
  Menu changeLogMenu{*this, "mChangeLog", "變更紀錄"};
  Menu monitorStatusMenu{*this, "monitorStatusMenu", "監看狀態"};
  Menu settingsMenu{*this, "settingsMenu", "設定"};
  Menu helpMenu{*this, "mHelp", "Help"};
  Menu aboutMenu{*this, "mAbout", "About", &helpMenu};
  Menu getVarMenu{*this, "mGetVar", "GetVar"};
  Menu autostartMenu{*this, "mAutostart", "開機自動啟動", &fileMenu};
  // The batch-list unlock and the quit, for desktops that keep Ctrl+Alt with a click to
  // themselves.
  Menu unlockBatchListMenu{*this, "unlockBatchListMenu", "解除批量清單鎖定", &fileMenu};
  Menu endProgramMenu{*this, "endProgramMenu", "結束程式", &fileMenu};

  // ConsoleState
  bool silentMode() const override { return silentModeCheck.Value() != 0; }
  bool showsNotifications() const override { return showNotificationCheck.Value() == 1; }
  bool hidesTray() const override { return hideTrayCheck.Value() == 1; }
  QString account() const override { return accountField.Text(); }
  QString password() const override { return passwordField.Text(); }
  void setAccount(const QString& account, const QString& password) override;
  void showRegistrationNumber(const QString& number) override;
  void showActivityTime() override;
  QString watchedItem(const QString& kind) const override;
  void setWatchedItem(const QString& kind, const QString& item) override;
  void reopenSoon(const QString& kind) override;
  EngineWatch& browserEngine() override { return engine_; }
  Journal& journal() override { return journal_; }
  // Removes the icon, closes the journal and ends the program, however it was asked to end,
  // once the remote targets that want it were told why.
  void endProgram(const QString& why) override;
  // Tells the remote targets of Tidex.ini what happened.
  RemoteNotifier& remoteNotifier() { return remoteNotifier_; }

  void onLoad() override;
  void onActivate() override;
  void onQueryUnload(int& cancel, UnloadReason reason) override;
  void onUnload(int& cancel) override;

  void onTrayIconMouse(MouseButton button, ModifierKeys keys, double x, double y);
  void onExitLabelMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void onShowAllButtonMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void hideConsole();
  void showConsole();
  void closeFromTray();
  void openAboutPage();
  // Asks, defaulting to No; Yes records the end time and ends the program.
  Task confirmAndEndProgram();
  // Opens the change-log window, or brings it forward when it is open.
  void openChangeLog();
  // Opens the monitor status window, or brings it forward when it is open.
  void openStatusWindow();
  // Opens the settings window, or brings it forward when it is open.
  void openSettingsWindow();
  void onSilentModeToggled();

  // Launchers and the batch list. A monitor opens for the item typed in its kind's input.
  Task launchMonitor(const MonitorKind& kind);
  void runBatchStep();
  void runAutomaticBatchStep();
  void listOpenWindows();
  void showAllMonitors();
  void startBatchListFetch();
  void openImctBc();
  void openImctBa();
  void openImctBe();
  void onBatchListMouseDown(MouseButton button, ModifierKeys keys, int x, int y);
  void unlockBatchList();

  // Console timers.
  void resetShowAllFlag();
  Task fetchBatchList();
  void onAutomaticBatchTick();
  void onHalfHourTick();
  void reopenMonitor(const MonitorKind& kind);
  void flushJournal();
  // The journal could not be written: said once, until it can be again.
  Task tellJournalUnwritable();
  void fetchBatchListNow();
  // Starts the program with the desktop session, or no longer.
  void toggleAutostart();

  // Customs queries: the page in customsBrowser and the answer to it.
  void queryCustomsPermit();
  void queryFeeRegistration();
  Task onCustomsPageComplete();
  // The text of the last customs page read.
  const QString& customsPageText() const { return customsPageText_; }

  // Input fields.
  void selectAllOnFocus(TextBox& field);
  void onRegistrationFieldChange();
  void onBatchLineChange();

 private:
  // The common beginning of a batch step; gives the index of the last line of the list.
  int beginBatchStep();
  // Whether the filter lets the batch line through, by its record in the settings file.
  enum class FilterVerdict { Launch, Done, Skip };
  FilterVerdict filterBatchLine();
  void launchBatchLine(bool visible);
  // The automatic batch's launch: none without an account, which the service would refuse
  // and so end the program; that is said once while the account stays missing.
  void launchHiddenBatchLine();
  bool hasAccount() const;
  Task tellAccountMissing();
  void endAutomaticBatch();
  void maskAccount();
  void advanceBatchIndex();
  void wireLaunchers();
  // The console's control of this name (a kind's input, button or timer).
  template <class C>
  C& controlNamed(const char* name) const;
  TextBox& watchedItemField(const QString& kind) const;

  void layOut();
  void wireEvents();
  // Ctrl+Alt (without Shift) with a mouse button ends the program at once.
  void quitGesture(ModifierKeys keys);
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
  QString customsPageText_;
  NotificationSender notificationSender_{*this, *this, notificationMailBrowser,
                                         notificationBoardBrowser};
};

template <class C>
C& ConsoleWindow::controlNamed(const char* name) const {
  for (Control* control : controls()) {
    if (control->Name() == QLatin1String(name)) return dynamic_cast<C&>(*control);
  }
  Q_UNREACHABLE();  // a name from the table of kinds that the console does not hold
}

}  // namespace tidex
