#pragma once

#include <coroutine>
#include <functional>
#include <memory>
#include <vector>

#include "platform/control.h"
#include "platform/html_document.h"

namespace tidex {

class QueuedCall;

// The back end's side of an embedded browser.
class WebBrowserPeer : public ControlPeer {
 public:
  virtual void navigate(const QString& url) = 0;
  // Opens the print dialog for the current page.
  virtual void print() = 0;
  // Replaces the page by a fresh one of its own (and so its renderer); a load in progress is
  // dropped and never completes.
  virtual void recreate() = 0;
};

// How the current page loaded.
struct LoadResult {
  bool failed = false;  // no answer, a network error, or an HTTP error status
  int httpStatus = 0;   // 0 when there was no HTTP answer
  bool unread = false;  // the page could not be read: its renderer went away or did not answer
};

// An embedded web browser. Busy is true from the moment a navigation starts (a click that
// submits a form or follows a link included) until that page has completed.
// Over a long run the engine gathers, page by page, what no reload gives back: so once a
// browser's page has shown kPagesPerEnginePage top-level pages, the next Navigate2 asked of it
// while it is idle first gives it a fresh page (Recreate). That is the one quiet moment: the
// page on show is being replaced anyway, the window keeps everything it read (its caption, its
// baseline), and a window that holds its page on show (an alert) asks for no navigation.
class WebBrowser final : public Control {
 public:
  // At a board monitor's two pages a minute (the board and its search), every two hours.
  static constexpr int kPagesPerEnginePage = 240;

  WebBrowser(Form& owner, QString name);
  ~WebBrowser() override;

  void Navigate2(const QString& url);
  bool Busy() const { return busy_; }
  // The current top-level document, or null before the first page.
  std::shared_ptr<HtmlDocument> Document() const { return document_; }
  const LoadResult& lastLoad() const { return lastLoad_; }
  const QString& LocationURL() const { return url_; }
  bool Silent() const { return silent_; }
  void setSilent(bool on) { silent_ = on; }
  void Print();
  // Whether no page was read since the last Navigate2: the browser shows nothing current.
  bool NavigationUnread() const { return navigated_ && !readSinceNavigate_; }
  // Gives the browser a fresh page; the load in progress is dropped, waiters go on waiting for
  // the next navigation.
  void Recreate();
  // Top-level pages completed since the browser's page was made.
  int PagesOnEnginePage() const { return pagesOnEnginePage_; }

  // (document, address, top level?) of a completed document, frames included.
  std::function<void(HtmlDocument& document, const QString& url, bool topLevel)> onDocumentComplete;
  std::function<void(HtmlDocument& document, const QString& url, bool topLevel)>
      onNavigateComplete2;

  // A handler waiting for the browser to be idle (see PageWait). Once the current page has
  // completed, or a click that was to navigate did not, the browser resumes every handler then
  // registered, each once, from the dispatch loop. Destroying the registration withdraws it.
  class Waiter final {
   public:
    Waiter(WebBrowser& browser, std::coroutine_handle<> handler);
    Waiter(const Waiter&) = delete;
    Waiter& operator=(const Waiter&) = delete;
    ~Waiter();

   private:
    friend class WebBrowser;
    WebBrowser* browser_;  // null once resumed or once the browser is gone
    std::coroutine_handle<> handler_;
    bool released_ = false;  // the browser became idle since it registered
  };

 private:
  friend class BackEnd;
  // The back end's reports, always from the dispatch loop.
  void navigationStarted(const QString& url);
  void navigateComplete(std::shared_ptr<HtmlDocument> document, const QString& url, bool topLevel);
  void documentComplete(std::shared_ptr<HtmlDocument> document, const QString& url, bool topLevel,
                        LoadResult result);
  // A click that was expected to navigate did not.
  void navigationAbandoned();

  void releaseWaiters();
  void resumeReleasedWaiters();

  bool busy_ = false;
  bool silent_ = false;
  bool navigated_ = false;
  bool readSinceNavigate_ = false;
  int pagesOnEnginePage_ = 0;
  QString url_;
  std::shared_ptr<HtmlDocument> document_;
  LoadResult lastLoad_;
  std::vector<Waiter*> waiters_;
  std::unique_ptr<QueuedCall> resumption_;
};

}  // namespace tidex
