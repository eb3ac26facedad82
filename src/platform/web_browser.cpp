#include "platform/web_browser.h"

#include "platform/desktop.h"
#include "platform/task.h"

namespace tidex {

WebBrowser::WebBrowser(Form& owner, QString name)
    : Control(owner, std::move(name), Kind::WebBrowser) {}

WebBrowser::~WebBrowser() { *alive_ = false; }

void WebBrowser::Navigate2(const QString& url) {
  navigationStarted(url);
  if (auto* p = dynamic_cast<WebBrowserPeer*>(peer())) p->navigate(url);
}

void WebBrowser::Print() {
  if (auto* p = dynamic_cast<WebBrowserPeer*>(peer())) p->print();
}

void WebBrowser::navigationStarted(const QString& url) {
  busy_ = true;
  if (!url.isEmpty()) url_ = url;
}

void WebBrowser::navigateComplete(std::shared_ptr<HtmlDocument> document, const QString& url,
                                  bool topLevel) {
  if (onNavigateComplete2 && document) onNavigateComplete2(*document, url, topLevel);
}

void WebBrowser::documentComplete(std::shared_ptr<HtmlDocument> document, const QString& url,
                                  bool topLevel, LoadResult result) {
  if (topLevel) {
    document_ = document;
    url_ = url;
    lastLoad_ = result;
    busy_ = false;
  }
  auto alive = std::weak_ptr<bool>(alive_);
  if (onDocumentComplete && document) onDocumentComplete(*document, url, topLevel);
  if (!alive.expired() && topLevel) releaseWaiters();
}

void WebBrowser::navigationAbandoned() {
  busy_ = false;
  releaseWaiters();
}

void WebBrowser::addWaiter(std::coroutine_handle<> h, std::shared_ptr<bool> alive) {
  waiters_.push_back({h, alive});
}

void WebBrowser::releaseWaiters() {
  if (busy_) return;
  auto waiters = std::move(waiters_);
  waiters_.clear();
  for (auto& w : waiters) {
    Desktop::current().post([h = w.handle, alive = w.alive] {
      if (auto a = alive.lock(); a && *a) resumeHandler(h);
    });
  }
}

}  // namespace tidex
