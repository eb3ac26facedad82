#include <cmath>

#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/date_text.h"
#include "console/change_log_window.h"
#include "console/console_window.h"
#include "console/monitor_status_window.h"
#include "console/notify_icon_module.h"
#include "console/settings_window.h"
#include "platform/desktop.h"

namespace tidex {
namespace {
constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

// A side window of the console is open once at most: the menu brings it forward, fresh.
template <class W, class... Args>
void openOrBringForward(Args&... args) {
  for (Form* window : Desktop::current().windows().all()) {
    if (auto* open = dynamic_cast<W*>(window); open && !open->isUnloaded()) {
      open->restore();
      open->bringToFront();
      open->Refresh();
      return;
    }
  }
  Desktop::current().load<W>(args...);
}

}  // namespace

void ConsoleWindow::onTrayIconMouse(MouseButton /*button*/, ModifierKeys /*keys*/, double x,
                                    double /*y*/) {
  const auto message = static_cast<TrayMouseMessage>(
      trayIconPicture.ScaleMode() == ScaleMode::Pixels ? std::lround(x)
                                                       : std::lround(x / kTwipsPerPixel));
  if (message == TrayMouseMessage::LeftDoubleClick) {
    Show();
    restore();
    bringToFront();
    setTopMost(true);
  } else if (message == TrayMouseMessage::RightButtonUp) {
    bringToFront();
    PopupMenu(trayMenu);
  }
}

void ConsoleWindow::hideConsole() { hideToTray(); }

void ConsoleWindow::showConsole() { Show(); }

void ConsoleWindow::closeFromTray() {
  recordEndTime();
  NotifyIconModule::Remove();
  hideToTray();
}

void ConsoleWindow::recordEndTime() {
  WriteSetting(settings_keys::kSetup, settings_keys::kEndTime, TimeText(Desktop::current().now()));
}

void ConsoleWindow::watchForTray() {
  Desktop& desktop = Desktop::current();
  desktop.watchTray(*this, [this] { trayAppeared(); });
  if (!desktop.trayPresent()) trayGraceTimer.setEnabled(true);
}

void ConsoleWindow::showWithoutTray() {
  trayGraceTimer.setEnabled(false);
  if (Desktop::current().trayPresent()) return;
  trayMenu.setVisible(true);
  Show();
}

// The desktop has shown the icon by now.
void ConsoleWindow::trayAppeared() {
  trayGraceTimer.setEnabled(false);
  trayMenu.setVisible(false);
}

void ConsoleWindow::hideToTray() {
  if (Desktop::current().trayPresent()) {
    Hide();
  } else {
    setWindowState(WindowState::Minimized);
  }
}

void ConsoleWindow::openAboutPage() {
  Desktop::current().openUrl(ServerAddress(settings_keys::kServerMaker) +
                             QStringLiteral("/pda/Tidex_about.php"));
}

void ConsoleWindow::openChangeLog() { openOrBringForward<ChangeLogWindow>(); }

void ConsoleWindow::openStatusWindow() { openOrBringForward<MonitorStatusWindow>(remoteNotifier_); }

void ConsoleWindow::openSettingsWindow() {
  openOrBringForward<SettingsWindow>(static_cast<ConsoleState&>(*this), remoteNotifier_);
}

void ConsoleWindow::onSilentModeToggled() {
  if (silentModeCheck.Value() == 1) {
    silentModeCheck.setForeColor(Colour::fromRgbValue(255));
  } else if (silentModeCheck.Value() == 0) {
    silentModeCheck.setForeColor(Colour::system(SystemColour::ButtonText));
  }
}

void ConsoleWindow::toggleAutostart() {
  if (Desktop::current().setStartsWithSession(!autostartMenu.Checked())) {
    autostartMenu.setChecked(!autostartMenu.Checked());
  }
}

}  // namespace tidex
