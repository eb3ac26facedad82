#include "desktop_parts.h"

#include <chrono>

#include <QProcessEnvironment>

#include "program_runner.h"

namespace tidex::e2e {

QString runOnDisplay(const QString& display, const QString& program, const QStringList& args) {
  QProcess tool;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display);
  tool.setProcessEnvironment(env);
  tool.start(program, args);
  tool.waitForFinished(5000);
  return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

DesktopProgram::DesktopProgram(QString display, QString program, QStringList arguments)
    : display_(std::move(display)),
      program_(std::move(program)),
      arguments_(std::move(arguments)) {}

DesktopProgram::~DesktopProgram() { stop(); }

bool DesktopProgram::start() {
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), display_);
  process_.setProcessEnvironment(env);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(program_, arguments_);
  if (!process_.waitForStarted(5000)) return false;
  return waitUntil([&] { return running() && ready(); }, std::chrono::seconds(10));
}

void DesktopProgram::stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished(3000);
  }
}

WindowManager::WindowManager(const QString& display)
    : DesktopProgram(display, QStringLiteral("openbox"),
                     {QStringLiteral("--sm-disable"), QStringLiteral("--replace")}) {}

bool WindowManager::ready() const {
  // An EWMH window manager announces itself on the root window.
  return windowProperty(display(), {}, QStringLiteral("_NET_SUPPORTING_WM_CHECK"))
      .contains(QLatin1String("window id"));
}

TrayHost::TrayHost(const QString& display)
    : DesktopProgram(display, QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                      QStringLiteral("right"), QStringLiteral("--height"), QStringLiteral("24"),
                      QStringLiteral("--width"), QStringLiteral("10")}) {}

bool TrayHost::ready() const {
  // The tray takes its selection as trayer's panel window appears.
  return !runOnDisplay(
              display(), QStringLiteral("xdotool"),
              {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer")})
              .isEmpty();
}

QString windowProperty(const QString& display, const QString& window, const QString& property) {
  QStringList args;
  if (window.isEmpty()) {
    args << QStringLiteral("-root");
  } else {
    args << QStringLiteral("-id") << window;
  }
  args << property;
  return runOnDisplay(display, QStringLiteral("xprop"), args);
}

}  // namespace tidex::e2e
