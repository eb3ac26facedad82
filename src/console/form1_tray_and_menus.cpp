#include <cmath>

#include "common/autostart.h"
#include "common/date_text.h"
#include "common/settings.h"
#include "console/change_log_window.h"
#include "console/form1.h"
#include "console/monitor_status_window.h"
#include "console/notify_icon_module.h"
#include "console/settings_window.h"
#include "platform/desktop.h"

namespace tidex {
namespace {
constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch
constexpr int kLeftDoubleClick = 0x203;
constexpr int kRightButtonUp = 0x205;

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

void Form1::Picture1_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/) {
  const int code = Picture1.ScaleMode() == PictureBox::Pixels
                       ? static_cast<int>(std::lround(x))
                       : static_cast<int>(std::lround(x / kTwipsPerPixel));
  if (code == kLeftDoubleClick) {
    Show();
    restore();
    bringToFront();
    setTopMost(true);
  } else if (code == kRightButtonUp) {
    bringToFront();
    PopupMenu(mTryaMenu);
  }
}

void Form1::mmExit_Click() { hideToTray(); }

void Form1::mShow_Click() { Show(); }

void Form1::mExit_Click() {
  recordEndTime();
  NotifyIconModule::Remove();
  hideToTray();
}

void Form1::recordEndTime() {
  Text8.setText(TimeText(Desktop::current().now()));
  WriteSetting(QStringLiteral("setup"), QStringLiteral("EndTime"), Text8.Text());
}

void Form1::watchForTray() {
  Desktop& desktop = Desktop::current();
  desktop.watchTray(*this, [this] { trayAppeared(); });
  if (!desktop.trayPresent()) trayGraceTimer.setEnabled(true);
}

void Form1::showWithoutTray() {
  trayGraceTimer.setEnabled(false);
  if (Desktop::current().trayPresent()) return;
  mTryaMenu.setVisible(true);
  Show();
}

// The desktop has shown the icon by now.
void Form1::trayAppeared() {
  trayGraceTimer.setEnabled(false);
  mTryaMenu.setVisible(false);
}

void Form1::hideToTray() {
  if (Desktop::current().trayPresent()) {
    Hide();
  } else {
    setWindowState(Minimized);
  }
}

void Form1::mAbout_Click() {
  Desktop::current().openUrl(ServerAddress(QStringLiteral("maker")) +
                             QStringLiteral("/pda/Tidex_about.php"));
}

void Form1::mChangeLog_Click() { openOrBringForward<ChangeLogWindow>(); }

void Form1::openStatusWindow() { openOrBringForward<MonitorStatusWindow>(); }

void Form1::openSettingsWindow() {
  openOrBringForward<SettingsWindow>(static_cast<ConsoleState&>(*this), remoteNotifier_);
}

void Form1::Check2_Click() {
  if (Check2.Value() == 1) {
    Check2.setForeColor(Colour::fromRgbValue(255));
  } else if (Check2.Value() == 0) {
    Check2.setForeColor(Colour::system(SystemColour::ButtonText));
  }
}

void Form1::mAutostart_Click() {
  if (SetAutostart(!mAutostart.Checked(), Desktop::current().programFile())) {
    mAutostart.setChecked(!mAutostart.Checked());
  }
}

}  // namespace tidex
