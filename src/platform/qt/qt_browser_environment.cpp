#include "platform/qt/qt_browser_environment.h"

#include <unistd.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace tidex {

void PrepareBrowserEnvironment() {
  if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  const bool sandboxed =
      !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") && !flags.contains("--no-sandbox");
  // The benchmark compares with the engine's own process model, zygote included.
  const bool defaultModel = qEnvironmentVariable("TIDEX_PROCESS_MODEL") == QLatin1String("default");
  for (const char* flag : {"--process-per-site", "--disable-gpu", "--no-zygote"}) {
    if (flags.contains(flag)) continue;
    if (defaultModel && QByteArrayView(flag) != "--disable-gpu") continue;
    // The engine refuses to start without its zygote while it sandboxes.
    if (sandboxed && QByteArrayView(flag) == "--no-zygote") continue;
    if (!flags.isEmpty()) flags += ' ';
    flags += flag;
  }
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

}  // namespace tidex
