#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include "console/console_window.h"
#include "platform/display_platform.h"
#include "platform/qt/qt_browser_environment.h"
#include "platform/qt/qt_desktop.h"

namespace {

// Standard buttons and dialogs in Traditional Chinese.
void installTranslations(QApplication& app) {
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_zh_TW"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

void chooseFont() {
  const QString family = QStringLiteral("Noto Sans CJK TC");
  if (!QFontDatabase::families().contains(family)) return;
  QFont font = QApplication::font();
  font.setFamily(family);
  QApplication::setFont(font);
}

}  // namespace

int main(int argc, char** argv) {
  // The console's caption, by which scripts find its window.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts(tidex::ConsoleWindow::ConsoleCaption().toUtf8().constData());
    return 0;
  }
  Q_INIT_RESOURCE(tidex);
  // The browser engine's report of its set-up at every start is not for the user; rules of the
  // user's own still apply.
  if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  }
  tidex::PrepareDisplayPlatform();
  tidex::PrepareBrowserEnvironment();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tidex"));
  QApplication::setQuitOnLastWindowClosed(false);  // the console hides into the tray
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tidex.png")));
  installTranslations(app);
  chooseFont();

  tidex::QtDesktop desktop;
  desktop.load<tidex::ConsoleWindow>();
  return QApplication::exec();
}
