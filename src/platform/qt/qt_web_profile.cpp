#include "platform/qt/qt_web_profile.h"

#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "platform/qt/qt_scheme_rule.h"
#include "platform/qt/qt_web_scripts.h"

namespace tidex {
namespace {

QWebEngineProfile* profile = nullptr;

// The in-memory HTTP cache, in the program's own process: left to the engine it takes up to 2%
// of the machine's memory, 50 MB on any machine above 2.5 GB, filled by the pages the monitors
// load again and again. The pages are asked for afresh on every reload anyway; a few megabytes
// keep the images and style sheets.
constexpr int kMemoryHttpCacheBytes = 8 * 1024 * 1024;

void configure(QWebEngineProfile& p) {
  p.setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  p.setHttpCacheMaximumSize(kMemoryHttpCacheBytes);
  p.setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);

  QWebEngineSettings& s = *p.settings();
  s.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  s.setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  s.setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
  s.setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s.setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
  s.setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
  s.setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
  s.setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
  s.setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  s.setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);

  QWebEngineScript neutraliser;
  neutraliser.setName(QStringLiteral("tidex-dialogs"));
  neutraliser.setInjectionPoint(QWebEngineScript::DocumentCreation);
  neutraliser.setWorldId(QWebEngineScript::MainWorld);
  neutraliser.setRunsOnSubFrames(true);
  neutraliser.setSourceCode(dialogNeutraliserScript());
  p.scripts()->insert(neutraliser);

  p.setUrlRequestInterceptor(new SchemeInterceptor(&p));

  QObject::connect(&p, &QWebEngineProfile::downloadRequested,
                   [](QWebEngineDownloadRequest* download) { download->cancel(); });
}

}  // namespace

QWebEngineProfile& sharedWebProfile() {
  if (!profile) {
    profile = new QWebEngineProfile();  // no storage name: off the record
    configure(*profile);
    // Post routines run last-added first: this one before the engine's own shutdown.
    qAddPostRoutine([] {
      delete profile;
      profile = nullptr;
    });
  }
  return *profile;
}

}  // namespace tidex
