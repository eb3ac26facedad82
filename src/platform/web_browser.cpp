#include "platform/web_browser.h"

#include <algorithm>

#include "platform/desktop.h"

namespace tidex {

WebBrowser::WebBrowser(Form& owner, QString name)
    : Control(owner, std::move(name), Kind::WebBrowser) {}

WebBrowser::~WebBrowser() {
  for (Waiter* waiter : waiters_) waiter->browser_ = nullptr;
}

void WebBrowser::Navigate2(const QString& url) {
  if (pagesOnEnginePage_ >= kPagesPerEnginePage && !busy_) Recreate();
  navigationStarted(url);
  navigated_ = true;
  readSinceNavigate_ = false;
  if (auto* p = dynamic_cast<WebBrowserPeer*>(peer())) p->navigate(url);
}

void WebBrowser::Print() {
  if (auto* p = dynamic_cast<WebBrowserPeer*>(peer())) p->print();
}

void WebBrowser::Recreate() {
  pagesOnEnginePage_ = 0;
  if (auto* p = dynamic_cast<WebBrowserPeer*>(peer())) p->recreate();
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
    ++pagesOnEnginePage_;
    document_ = document;
    url_ = url;
    lastLoad_ = result;
    busy_ = false;
    if (!result.unread) readSinceNavigate_ = true;
  }
  if (onDocumentComplete && document) onDocumentComplete(*document, url, topLevel);
  if (topLevel) releaseWaiters();
}

void WebBrowser::navigationAbandoned() {
  busy_ = false;
  releaseWaiters();
}

void WebBrowser::releaseWaiters() {
  if (busy_ || waiters_.empty()) return;
  for (Waiter* waiter : waiters_) waiter->released_ = true;
  if (!resumption_) {
    resumption_ = Desktop::current().queue([this] { resumeReleasedWaiters(); });
  }
}

void WebBrowser::resumeReleasedWaiters() {
  resumption_.reset();
  // A resumed handler may end other waits or register anew: look afresh each time.
  for (;;) {
    auto it = std::find_if(waiters_.begin(), waiters_.end(),
                           [](const Waiter* w) { return w->released_; });
    if (it == waiters_.end()) return;
    Waiter* waiter = *it;
    waiters_.erase(it);
    waiter->browser_ = nullptr;
    waiter->handler_.resume();
  }
}

WebBrowser::Waiter::Waiter(WebBrowser& browser, std::coroutine_handle<> handler)
    : browser_(&browser), handler_(handler) {
  browser.waiters_.push_back(this);
}

WebBrowser::Waiter::~Waiter() {
  if (browser_) std::erase(browser_->waiters_, this);
}

}  // namespace tidex
