#include "platform/qt/qt_web_browser_peer.h"

#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "platform/back_end.h"
#include "platform/desktop.h"
#include "platform/qt/qt_scheme_rule.h"
#include "platform/qt/qt_web_document.h"
#include "platform/qt/qt_web_page.h"
#include "platform/qt/qt_web_print.h"
#include "platform/qt/qt_web_profile.h"
#include "platform/qt/qt_web_scripts.h"
#include "platform/qt/qt_widget_peer.h"

namespace tidex {
namespace {

LoadResult loadResultOf(const QWebEngineLoadingInfo& info) {
  LoadResult result;
  if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
    result.httpStatus = info.errorCode();
  }
  result.failed =
      info.status() != QWebEngineLoadingInfo::LoadSucceededStatus || result.httpStatus >= 400;
  return result;
}

}  // namespace

// Places the view like every other widget of the window; until the first navigation, a plain
// widget stands in its place.
class QtWebBrowserPeer::Placement final : public WidgetPeer {
 public:
  using WidgetPeer::replaceWidget;
  using WidgetPeer::widget;
  using WidgetPeer::WidgetPeer;
  void sync() override { syncCommon(QString()); }
};

QtWebBrowserPeer::QtWebBrowserPeer(WebBrowser& browser, QWidget* parent) : browser_(browser) {
  // A browser that never navigates (a monitor's spare browsers) costs no view and no page.
  placement_ = std::make_unique<Placement>(browser, new QWidget(parent));
  sync();
}

void QtWebBrowserPeer::ensurePage() {
  if (view_) return;
  QWidget* standIn = placement_->widget();
  auto* view = new QWebEngineView(standIn ? standIn->parentWidget() : nullptr);
  view_ = view;
  attachPage();
  if (standIn) view->stackUnder(standIn);
  placement_->replaceWidget(view);
  sync();
}

void QtWebBrowserPeer::attachPage() {
  auto* page = new QtWebPage(&sharedWebProfile(), view_);
  view_->setPage(page);
  page_ = page;
  connect(page, &QWebEnginePage::loadingChanged, this, &QtWebBrowserPeer::loadingChanged);
  connect(page, &QWebEnginePage::renderProcessTerminated, this,
          [this, page](QWebEnginePage::RenderProcessTerminationStatus status, int) {
            if (status == QWebEnginePage::NormalTerminationStatus || page != page_) return;
            rendererGone();
            // Not from inside the dying page's own signal; a navigation asked for meanwhile
            // keeps the page (the engine gives it a new renderer).
            QPointer<QtWebBrowserPeer> self(this);
            QTimer::singleShot(0, this, [self, page, request = requests_] {
              if (self && !self->closing_ && self->page_ == page && self->requests_ == request) {
                self->recreate();
              }
            });
          });
}

void QtWebBrowserPeer::recreate() {
  if (closing_ || !view_) return;  // no page yet: the first navigation makes a fresh one
  ++load_;                         // documents of the old page no longer reach it
  loading_ = false;
  expected_ = 0;
  pending_ = {};
  if (QtWebPage* old = page_) {
    old->disconnect(this);
    old->deleteLater();
  }
  attachPage();
}

QtWebBrowserPeer::~QtWebBrowserPeer() {
  closing_ = true;  // callbacks the page cancels as it goes find nothing to do
  if (page_) page_->disconnect(this);
  QPointer<QWidget> widget = placement_->widget();  // the view, or its stand-in
  placement_.reset();
  delete widget.data();
}

void QtWebBrowserPeer::sync() { placement_->sync(); }

void QtWebBrowserPeer::navigate(const QString& url) {
  const quint64 request = ++requests_;
  const QUrl target = QUrl::fromUserInput(url);
  if (IsAllowedPageUrl(target)) ensurePage();
  if (!page_ || !IsAllowedPageUrl(target)) {
    abandon(request);
    return;
  }
  expected_ = request;
  awaitLoadStart(request, kNavigateGrace);
  page_->load(target);
}

void QtWebBrowserPeer::print() {
  if (view_) openPrintDialog(*view_);
}

bool QtWebBrowserPeer::showing(quint64 load) const { return !closing_ && page_ && load == load_; }

void QtWebBrowserPeer::setElementValue(quint64 load, int index, const QString& value) {
  if (showing(load))
    page_->runJavaScript(setValueScript(index, value), QWebEngineScript::ApplicationWorld);
}

void QtWebBrowserPeer::clickElement(quint64 load, int index, bool navigates) {
  if (!showing(load)) return;
  if (!navigates) {
    page_->runJavaScript(clickScript(index), QWebEngineScript::ApplicationWorld);
    return;
  }
  // The load starts only after the script returns; the browser is busy from now on.
  const quint64 request = ++requests_;
  expected_ = request;
  BackEnd::navigationStarted(browser_, QString());
  QPointer<QtWebBrowserPeer> self(this);
  page_->runJavaScript(clickScript(index), QWebEngineScript::ApplicationWorld,
                       [self, request](const QVariant&) {
                         if (self && !self->closing_) self->awaitLoadStart(request, kClickGrace);
                       });
}

void QtWebBrowserPeer::runPageScript(quint64 load, const QString& script) {
  if (showing(load)) page_->runJavaScript(script, QWebEngineScript::MainWorld);
}

void QtWebBrowserPeer::awaitLoadStart(quint64 request, std::chrono::milliseconds grace) {
  if (expected_ != request) return;
  QTimer::singleShot(grace, this, [this, request] {
    if (closing_ || expected_ != request) return;
    expected_ = 0;
    abandon(request);
  });
}

void QtWebBrowserPeer::abandon(quint64 request) {
  QPointer<QtWebBrowserPeer> self(this);
  Desktop::current().post([self, request] {
    if (self && self->latest(request)) BackEnd::navigationAbandoned(self->browser_);
  });
}

void QtWebBrowserPeer::loadingChanged(const QWebEngineLoadingInfo& info) {
  switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
      loadStarted(info.url());
      break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadFailedStatus:
    case QWebEngineLoadingInfo::LoadStoppedStatus:
      loadEnded(info);
      break;
  }
}

void QtWebBrowserPeer::loadStarted(const QUrl& url) {
  ++load_;
  loading_ = true;
  expected_ = 0;
  loadRequest_ = requests_;
  pending_ = {};
  QPointer<QtWebBrowserPeer> self(this);
  Desktop::current().post([self, url = url.toString()] {
    if (self && !self->closing_) BackEnd::navigationStarted(self->browser_, url);
  });
}

void QtWebBrowserPeer::loadEnded(const QWebEngineLoadingInfo& info) {
  loading_ = false;
  // No window ever goes back: the engine keeps no trail of the pages shown before (up to 50
  // entries a page, each with its form state and posted data). Only once a page has loaded:
  // asked earlier, the history starts the page in a renderer of its own, outside the one its
  // site shares.
  if (page_->history()->count() > 1) page_->history()->clear();
  pending_ = {++snapshots_,      load_, loadRequest_, info.url(), info.isErrorPage(),
              loadResultOf(info)};
  const quint64 id = pending_.id;
  QPointer<QtWebBrowserPeer> self(this);
  page_->runJavaScript(snapshotScript(), QWebEngineScript::ApplicationWorld,
                       [self, id](const QVariant& result) {
                         if (self && !self->closing_) self->snapshotTaken(id, result);
                       });
  QTimer::singleShot(kSnapshotLimit, this, [this, id] { snapshotTaken(id, QVariant()); });
}

void QtWebBrowserPeer::snapshotTaken(quint64 id, const QVariant& result) {
  if (closing_ || pending_.id != id || pending_.load != load_) return;
  Snapshot taken = pending_;
  pending_ = {};
  // A page that could not be read (hung or refused the script) is no page to compare.
  if (result.typeId() != QMetaType::QString) {
    taken.result.failed = true;
    taken.result.unread = true;
  }
  PageSnapshot snapshot = readSnapshot(result);
  // An error page of the engine has an address of its own; the one asked for is reported.
  const QString url =
      taken.errorPage || snapshot.url.isEmpty() ? taken.url.toString() : snapshot.url;
  report(makeDocument(std::move(snapshot), url, *this, taken.load), url, taken.result,
         taken.request);
}

void QtWebBrowserPeer::rendererGone() {
  if (!loading_ && !expected_ && !pending_.id) return;
  ++load_;  // documents of the dead page no longer reach it
  loading_ = false;
  expected_ = 0;
  pending_ = {};
  const QString url = page_ ? page_->url().toString() : QString();
  report(makeDocument({}, url, *this, load_), url, LoadResult{true, 0, true}, requests_);
}

void QtWebBrowserPeer::report(std::shared_ptr<HtmlDocument> document, const QString& url,
                              LoadResult result, quint64 request) {
  // A completion that a newer Navigate2 or click overtook is not reported.
  QPointer<QtWebBrowserPeer> self(this);
  Desktop::current().post([self, request, document, url] {
    if (self && self->latest(request))
      BackEnd::navigateComplete(self->browser_, document, url, true);
  });
  Desktop::current().post([self, request, document, url, result] {
    if (self && self->latest(request)) {
      BackEnd::documentComplete(self->browser_, document, url, true, result);
    }
  });
}

}  // namespace tidex
