#include <gtest/gtest.h>

#include <QRegularExpression>

#include "board_path.h"
#include "console_session.h"

using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = ConsoleSession::consoleCaption();
const QString kMonitor = QStringLiteral("1108");

// The windows a property of the root window names, as decimal ids like xdotool's.
QStringList rootWindows(const QString& display, const QString& property) {
  static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
  QStringList ids;
  for (const auto& match : id.globalMatch(windowProperty(display, {}, property))) {
    ids << QString::number(match.captured().toULongLong(nullptr, 16));
  }
  return ids;
}

QString activeWindow(const QString& display) {
  return rootWindows(display, QStringLiteral("_NET_ACTIVE_WINDOW")).value(0);
}

QString topmostWindow(const QString& display) {
  const QStringList bottomToTop = rootWindows(display, QStringLiteral("_NET_CLIENT_LIST_STACKING"));
  return bottomToTop.isEmpty() ? QString() : bottomToTop.last();
}

}  // namespace

// Under a real window manager the user works in the console and has minimised the wharf
// monitor. The board moves a time: the monitor comes back, becomes the active window and is
// stacked above every other, the console included, which is top-most itself. (The registration
// monitor's alert makes the same window calls.)
TEST(AlertUnderAWindowManager, AMinimisedWharfMonitorComesBackActiveAndAboveTheOthers) {
  ConsoleSession session(ConsoleSession::Manager::Openbox);
  ASSERT_TRUE(session.start()) << session.failure() << session.program.output().data();
  const QString display = session.display.display();

  ASSERT_TRUE(session.openWharfMonitor()) << session.failure() << session.program.output().data();
  const QString minimised = session.window(kMonitor);
  session.display.minimise(minimised);
  ASSERT_TRUE(waitUntil(
      [&] {
        return windowProperty(display, minimised, QStringLiteral("_NET_WM_STATE"))
            .contains(QLatin1String("_NET_WM_STATE_HIDDEN"));
      },
      10s));
  ASSERT_TRUE(session.focus(kConsoleCaption));
  ASSERT_EQ(activeWindow(display).toStdString(), session.window(kConsoleCaption).toStdString());

  ASSERT_TRUE(
      session.sites.control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  // Qt may give the window a new X window when it changes its flags: look it up by title.
  QString monitor;
  EXPECT_TRUE(waitUntil(
      [&] {
        monitor = session.window(kMonitor);
        return !monitor.isEmpty() && activeWindow(display) == monitor;
      },
      60s + 5s + 15s))
      << "the monitor is not the active window; the active one is "
      << activeWindow(display).toStdString() << "\n"
      << session.program.output().data();
  // The window manager applies the state after the activation, a moment later on a busy machine.
  QString state;
  EXPECT_TRUE(waitUntil(
      [&] {
        monitor = session.window(kMonitor);
        state = windowProperty(display, monitor, QStringLiteral("_NET_WM_STATE"));
        return state.contains(QLatin1String("_NET_WM_STATE_ABOVE")) &&
               topmostWindow(display) == monitor;
      },
      5s))
      << state.toStdString() << " topmost " << topmostWindow(display).toStdString() << " monitor "
      << monitor.toStdString();
  EXPECT_FALSE(state.contains(QLatin1String("_NET_WM_STATE_HIDDEN"))) << state.toStdString();
}
