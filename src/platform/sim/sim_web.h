#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/sim/virtual_clock.h"
#include "platform/web_browser.h"
#include "platform/web_server.h"

namespace tidex {

enum class PageCharset { Utf8, Big5 };

struct DecodedPage {
  QString html;
  PageCharset charset = PageCharset::Utf8;
};

// Decodes a page by the charset of its Content-Type, else of its own meta tag: Big5 (CP950)
// for the Big5 labels, UTF-8 for anything else.
DecodedPage DecodePage(const QByteArray& contentType, const QByteArray& body);

// A request as a browser sends it; url is absolute.
struct SimRequest {
  QString url;
  QByteArray method = "GET";
  QByteArray body;
  QByteArray contentType;
};

// One navigation of a simulated browser.
struct SimNavigation {
  enum class State {
    Pending,    // waiting for its page
    Completed,  // the page completed
    Replaced,   // a newer navigation of the same browser took its place
    Dropped,    // the browser went away first
  };
  QString browser;  // "ConsoleWindow.pageBrowser"
  SimRequest request;
  std::int64_t startedMs = 0;  // virtual time of the start
  State state = State::Pending;
  LoadResult result;    // once completed
  QStringList scripts;  // scripts the program ran on the page it loaded
};

// What a navigation receives once redirects are followed.
struct SimLoad {
  WebResponse answer;
  QString url;                    // the address the answer came from
  bool tooManyRedirects = false;  // given up after SimWeb::kMaxRedirects; answer is refused()
};

// Whether a browser takes the answer for a file to save rather than a page to show.
bool IsDownload(const WebResponse& answer);

// A navigation that has waited for its page longer than SimWeb::kStallLimit.
struct StalledPage {
  QString browser;
  QString url;
  std::int64_t pendingMs = 0;
};

// How the simulated desktop reaches the web: every http(s) address, whatever its host and
// port, is served in-process by one web server; an answer takes the network delay. Without a
// server every connection is refused.
class SimWeb final {
 public:
  static constexpr std::chrono::seconds kStallLimit{60};
  static constexpr int kMaxRedirects = 20;

  explicit SimWeb(const VirtualClock& clock, WebServer* server = nullptr)
      : clock_(clock), server_(server) {}

  // The server of every address from now on; nullptr: none.
  void setServer(WebServer* server) { server_ = server; }
  void setNetworkDelay(std::chrono::milliseconds delay) { delay_ = delay; }
  std::chrono::milliseconds networkDelay() const { return delay_; }

  // Sends the request to the server of its address at once. Path and raw query come from
  // the address (non-ASCII characters percent-encoded as UTF-8, the path then decoded); an
  // address that is not http(s) or has no host is refused.
  // held: the request was sent before and held by the server; it is asked again without a
  // new line in the request log.
  WebResponse fetch(const SimRequest& request, bool held = false);
  // Fetches as a browser navigates: redirects are followed (a POST becomes a GET except for
  // 307 and 308), up to kMaxRedirects of them.
  SimLoad load(SimRequest request, bool held = false);

  // The navigations of every browser, oldest first.
  std::size_t beginNavigation(const QString& browser, SimRequest request);
  SimNavigation& navigation(std::size_t index) { return navigations_[index]; }
  const std::vector<SimNavigation>& navigations() const { return navigations_; }
  std::vector<StalledPage> stalledPages() const;
  // Marks every pending navigation dropped (the program ended).
  void dropPending();

  // Warns about each stalled page and adds it to the process-wide teardown record; the
  // simulated desktop does this as it is destroyed.
  void reportStalledPages() const;
  // The stalled pages of desktops destroyed so far, emptying the record.
  static std::vector<StalledPage> takeStalledAtTeardown();

  void recordPrint(const QString& url) { printed_.push_back(url); }
  // The addresses of the pages printed, in order.
  const QStringList& printed() const { return printed_; }
  // A browser was given a fresh page (WebBrowser::Recreate).
  struct FreshPage {
    const WebBrowser* browser = nullptr;
    QString url;                      // the address the old page showed
    std::int64_t atMs = 0;            // virtual time, as SimNavigation::startedMs
    std::optional<std::size_t> last;  // the browser's navigation before, if any
    std::size_t next = 0;             // the index the next navigation of any browser takes
  };
  void recordFreshPage(const WebBrowser& browser, std::optional<std::size_t> last) {
    freshPages_.push_back(
        {&browser, browser.LocationURL(), clock_.elapsedMs(), last, navigations_.size()});
  }
  // Every fresh page given, oldest first.
  const std::vector<FreshPage>& freshPages() const { return freshPages_; }

 private:
  struct Cookie {
    QString host;  // with its port
    QByteArray name;
    QByteArray value;
    QByteArray path;
  };
  QByteArray cookieHeader(const QString& host, const QByteArray& path) const;
  void storeCookies(const QString& host, const WebResponse& answer);

  const VirtualClock& clock_;
  WebServer* server_;
  std::vector<Cookie> cookies_;
  std::chrono::milliseconds delay_{200};
  std::vector<SimNavigation> navigations_;
  QStringList printed_;
  std::vector<FreshPage> freshPages_;
};

}  // namespace tidex
