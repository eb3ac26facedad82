#include "platform/qt/qt_web_page.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QWebEngineCertificateError>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

#include "platform/qt/qt_scheme_rule.h"

namespace tidex {
namespace {

// The question the engine asks through javaScriptConfirm before leaving a page that has a
// beforeunload handler; leaving is always allowed, or a navigation could hang on it.
QString leavePageQuestion() {
  return QCoreApplication::translate(
      "QWebEnginePage",
      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

}  // namespace

QtWebPage::QtWebPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  connect(this, &QWebEnginePage::certificateError, this,
          [](const QWebEngineCertificateError& error) {
            QWebEngineCertificateError handle = error;
            handle.rejectCertificate();
          });
  connect(this, &QWebEnginePage::authenticationRequired, this,
          [](const QUrl&, QAuthenticator* authenticator) { *authenticator = QAuthenticator(); });
  connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
          [](const QUrl&, QAuthenticator* authenticator, const QString&) {
            *authenticator = QAuthenticator();
          });
  connect(this, &QWebEnginePage::featurePermissionRequested, this,
          [this](const QUrl& origin, Feature feature) {
            setFeaturePermission(origin, feature, PermissionDeniedByUser);
          });
  connect(this, &QWebEnginePage::fullScreenRequested, this,
          [](QWebEngineFullScreenRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::quotaRequested, this,
          [](QWebEngineQuotaRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
          [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
          [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
  connect(this, &QWebEnginePage::selectClientCertificate, this,
          [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
}

QWebEnginePage* QtWebPage::createWindow(WebWindowType) { return nullptr; }

bool QtWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  return IsAllowedPageUrl(url);
}

QStringList QtWebPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
  return {};
}

void QtWebPage::javaScriptAlert(const QUrl&, const QString&) {}

bool QtWebPage::javaScriptConfirm(const QUrl&, const QString& msg) {
  return msg == leavePageQuestion();
}

bool QtWebPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
  return false;
}

void QtWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                         const QString&) {}

}  // namespace tidex
