#pragma once

#include <QWebEnginePage>

namespace tidex {

// A page that never puts anything on screen by itself and never waits for a person: page
// dialogs answer at once (alert nothing, confirm and prompt refuse), certificate errors,
// log-ins, permissions, file choosers, new windows and full screen are all refused, and so is
// any page that is not http or https.
class QtWebPage final : public QWebEnginePage {
 public:
  QtWebPage(QWebEngineProfile* profile, QObject* parent);

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
  // Only http and https pages, in every frame (IsAllowedPageUrl).
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                          const QStringList& acceptedMimeTypes) override;
  void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                        QString* result) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceID) override;
};

}  // namespace tidex
