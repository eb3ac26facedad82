#pragma once

#include <chrono>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QUrl>

#include "platform/web_browser.h"

class QWebEngineLoadingInfo;
class QWebEngineView;

namespace tidex {

class QtWebPage;

// A WebBrowser as a QWebEngineView on the shared profile, created on the first navigation. When a
// top-level load ends, one script reads the page into a document; every event reaches the control
// through Desktop::post, never from inside an engine callback.
class QtWebBrowserPeer final : public QObject, public WebBrowserPeer {
 public:
  // How long a click that should navigate may go, after its script returned, without a load
  // starting before the browser is no longer busy.
  static constexpr std::chrono::milliseconds kClickGrace{1500};
  // The same for Navigate2, from the call.
  static constexpr std::chrono::milliseconds kNavigateGrace{15000};
  // How long reading a loaded page may take before an empty document is reported instead.
  static constexpr std::chrono::milliseconds kSnapshotLimit{15000};

  QtWebBrowserPeer(WebBrowser& browser, QWidget* parent);
  ~QtWebBrowserPeer() override;

  void sync() override;
  void navigate(const QString& url) override;
  void print() override;
  void recreate() override;

  // From a document read at the end of load number `load`; nothing happens once another
  // load has started.
  void setElementValue(quint64 load, int index, const QString& value);
  void clickElement(quint64 load, int index, bool navigates);
  void runPageScript(quint64 load, const QString& script);

 private:
  class Placement;
  struct Snapshot {
    quint64 id = 0;  // 0: none pending
    quint64 load = 0;
    quint64 request = 0;  // the window code's request this load answers
    QUrl url;
    bool errorPage = false;
    LoadResult result;
  };

  // Creates the view and its page on the first navigation.
  void ensurePage();
  // A new page on the shared profile, shown in the view.
  void attachPage();
  void loadingChanged(const QWebEngineLoadingInfo& info);
  void loadStarted(const QUrl& url);
  void loadEnded(const QWebEngineLoadingInfo& info);
  void snapshotTaken(quint64 id, const QVariant& result);
  void rendererGone();
  // Gives up on the navigation of this request when no load starts within the grace.
  void awaitLoadStart(quint64 request, std::chrono::milliseconds grace);
  void abandon(quint64 request);
  void report(std::shared_ptr<HtmlDocument> document, const QString& url, LoadResult result,
              quint64 request);
  // Whether no newer navigation was asked for since this request.
  bool latest(quint64 request) const { return !closing_ && request == requests_; }
  // Whether the page still shows the document of this load.
  bool showing(quint64 load) const;

  WebBrowser& browser_;
  std::unique_ptr<Placement> placement_;
  QPointer<QWebEngineView> view_;
  QPointer<QtWebPage> page_;
  bool closing_ = false;
  quint64 load_ = 0;         // top-level loads started so far
  bool loading_ = false;     // a top-level load has started and not ended
  quint64 requests_ = 0;     // navigations asked for by window code (Navigate2, clicks)
  quint64 expected_ = 0;     // the request whose load has not started yet, or 0
  quint64 loadRequest_ = 0;  // requests_ when the current load started
  quint64 snapshots_ = 0;
  Snapshot pending_;
};

}  // namespace tidex
