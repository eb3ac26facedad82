#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/sim/sim_web.h"
#include "platform/sim/virtual_clock.h"
#include "platform/web_browser.h"

namespace tidex {

class SimDesktop;

// The simulated side of a WebBrowser. A navigation fetches its page through the desktop's
// SimWeb after the network delay, then completes it from the dispatch loop: NavigateComplete2,
// then DocumentComplete. A new navigation replaces a pending one, which never completes.
// A request the server never answers stays pending until the server answers again.
// Redirects are followed; a download fails the load and leaves the page shown before; a page
// cut off fails it with what arrived on display.
// Every navigation is recorded in SimWeb::navigations().
class SimBrowser final : public WebBrowserPeer {
 public:
  // How often a request the server holds is asked after (as tidex-sites answers a held
  // request once its fault ends).
  static constexpr std::chrono::seconds kHeldRequestCheck{1};

  // What the documents of this browser hold on to; browser is null once the peer is gone.
  struct Link {
    SimBrowser* browser = nullptr;
  };

  SimBrowser(SimDesktop& desk, WebBrowser& browser);
  ~SimBrowser() override;

  void sync() override {}
  void navigate(const QString& url) override;
  void print() override;
  void recreate() override;
  // Its renderer died: the page goes blank, a load in progress ends failed and unread.
  void rendererGone();

  // Starts loading the request; the control is already busy.
  void start(SimRequest request);
  // Whether the page of this navigation generation is the one on display.
  bool showing(std::uint64_t generation) const { return shown_ == generation; }
  WebBrowser& control() { return browser_; }
  SimWeb& web();

 private:
  // The answer to the pending navigation arrives; held: the server held it back until now.
  void arrive(std::size_t navigation, bool held = false);
  // Reports the navigation completed with document, from the dispatch loop; shown: the
  // document takes the place of the one on display.
  void complete(std::size_t navigation, std::shared_ptr<HtmlDocument> document, const QString& url,
                LoadResult result, bool shown);
  bool current(std::uint64_t generation) const { return generation_ == generation; }
  // Drops the pending navigation (it never completes) and the page on display.
  void dropPage(SimNavigation::State why);

  SimDesktop& desk_;
  WebBrowser& browser_;
  std::shared_ptr<Link> link_;
  std::uint64_t generation_ = 0;  // of the newest navigation
  std::uint64_t shown_ = 0;       // of the page on display
  std::shared_ptr<HtmlDocument> shownDocument_;
  std::optional<std::size_t> pending_;
  std::optional<std::size_t> last_;  // the newest navigation, pending or not
  VirtualClock::EventId arrival_ = 0;
};

}  // namespace tidex
