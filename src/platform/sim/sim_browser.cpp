#include "platform/sim/sim_browser.h"

#include <QUrl>

#include <utility>

#include "platform/back_end.h"
#include "platform/form.h"
#include "platform/html_document.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_form_submission.h"
#include "platform/sim/sim_html_parser.h"
#include "platform/sim/sim_inner_text.h"

namespace tidex {
namespace {

// What the browser shows when the server cannot be reached.
const char kUnreachablePage[] =
    "<html><head><title>無法顯示網頁</title></head><body>"
    "<h1>無法顯示網頁</h1><p>無法連線到伺服器。</p></body></html>";

// The live side of one loaded page: writes go to its DOM, clicks may navigate the browser
// while the page is on display.
class SimDocument final : public DocumentPeer {
 public:
  SimDocument(std::shared_ptr<SimBrowser::Link> link, std::uint64_t generation,
              std::size_t navigation, QString url, PageCharset charset, SimDom dom)
      : link_(std::move(link)),
        generation_(generation),
        navigation_(navigation),
        url_(std::move(url)),
        charset_(charset),
        dom_(std::move(dom)) {}

  void setValue(int index, const QString& value) override { dom_.setValue(index, value); }

  void click(int index) override {
    SimBrowser* browser = link_->browser;
    if (!browser || !browser->showing(generation_)) return;
    std::optional<SimRequest> request = ClickRequest(dom_, index, url_, charset_);
    if (!request) return;
    BackEnd::navigationStarted(browser->control(), request->url);
    browser->start(std::move(*request));
  }

  void execScript(const QString& script) override {
    if (SimBrowser* browser = link_->browser) {
      browser->web().navigation(navigation_).scripts.push_back(script);
    }
  }

 private:
  std::shared_ptr<SimBrowser::Link> link_;
  std::uint64_t generation_;
  std::size_t navigation_;
  QString url_;
  PageCharset charset_;
  SimDom dom_;
};

}  // namespace

SimBrowser::SimBrowser(SimDesktop& desk, WebBrowser& browser)
    : desk_(desk), browser_(browser), link_(std::make_shared<Link>(Link{this})) {}

SimBrowser::~SimBrowser() {
  link_->browser = nullptr;
  if (arrival_) desk_.clock().cancel(arrival_);
  if (pending_) web().navigation(*pending_).state = SimNavigation::State::Dropped;
}

SimWeb& SimBrowser::web() { return desk_.web(); }

void SimBrowser::navigate(const QString& url) {
  SimRequest request;
  request.url = url;
  start(std::move(request));
}

void SimBrowser::print() { web().recordPrint(browser_.LocationURL()); }

void SimBrowser::dropPage(SimNavigation::State why) {
  if (arrival_) desk_.clock().cancel(arrival_);
  arrival_ = 0;
  if (pending_) web().navigation(*pending_).state = why;
  pending_.reset();
  ++generation_;
}

void SimBrowser::recreate() {
  web().recordFreshPage(browser_, last_);
  dropPage(SimNavigation::State::Dropped);
}

void SimBrowser::rendererGone() {
  const bool loading = pending_.has_value();
  dropPage(SimNavigation::State::Dropped);
  if (!loading) return;
  const std::weak_ptr<Link> link = link_;
  const QString url = browser_.LocationURL();
  desk_.post([link, generation = generation_, url] {
    auto l = link.lock();
    if (!l || !l->browser || !l->browser->current(generation)) return;
    auto blank =
        std::make_shared<HtmlDocument>(url, std::vector<ElementData>{}, QString(), nullptr);
    BackEnd::navigateComplete(l->browser->browser_, blank, url, true);
    BackEnd::documentComplete(l->browser->browser_, blank, url, true, LoadResult{true, 0, true});
  });
}

void SimBrowser::start(SimRequest request) {
  dropPage(SimNavigation::State::Replaced);
  const QString name = browser_.owner().Name() + u'.' + browser_.Name();
  const std::size_t navigation = web().beginNavigation(name, std::move(request));
  pending_ = navigation;
  last_ = navigation;
  arrival_ = desk_.clock().schedule(web().networkDelay(), [this, navigation, g = generation_] {
    arrival_ = 0;
    if (current(g)) arrive(navigation);
  });
}

void SimBrowser::arrive(std::size_t navigation, bool held) {
  const SimRequest request = web().navigation(navigation).request;
  const bool blank = request.url.startsWith(u"about:", Qt::CaseInsensitive);
  const SimLoad load =
      blank ? SimLoad{{0, "text/html; charset=utf-8", {}}, request.url} : web().load(request, held);
  const WebResponse& answer = load.answer;
  // Without an engine the answer reaches no page.
  if (desk_.browserEngineDown()) return;
  if (answer.delivery == WebResponse::Delivery::Never) {
    // The server holds the request and answers it once it answers again.
    arrival_ = desk_.clock().schedule(kHeldRequestCheck, [this, navigation, g = generation_] {
      arrival_ = 0;
      if (current(g)) arrive(navigation, true);
    });
    return;
  }
  // A file to save: the load fails and the page shown before stays, read anew.
  if (IsDownload(answer) && shownDocument_) {
    complete(navigation, shownDocument_, shownDocument_->url(), {true, 0}, false);
    return;
  }

  LoadResult result;
  DecodedPage page;
  if (answer.delivery == WebResponse::Delivery::Refused) {
    result = {true, 0};
    page.html = QString::fromUtf8(kUnreachablePage);
  } else if (IsDownload(answer)) {
    result = {true, 0};
  } else if (answer.delivery == WebResponse::Delivery::CutOff) {
    // What arrived is shown; the load fails without an HTTP status, as a network error.
    result = {true, 0};
    page = DecodePage(answer.contentType, answer.body.left(answer.body.size() / 2));
  } else {
    result = {answer.status >= 400, answer.status};
    page = DecodePage(answer.contentType, answer.body);
  }
  // An error page of the browser stands at the address asked for.
  const QString url = result.failed && result.httpStatus == 0 ? request.url : load.url;
  SimDom dom = ParseHtml(page.html);
  std::vector<ElementData> elements = dom.elementData();
  // As a browser reports it, an image's source is the absolute address.
  for (std::size_t e = 0; e < elements.size(); ++e) {
    ElementData& element = elements[e];
    if (!element.src.isEmpty()) element.src = QUrl(url).resolved(QUrl(element.src)).toString();
    if (element.tagName == u"TH") {
      element.text = InnerText(dom, dom.elementNode(static_cast<int>(e))).simplified();
    }
  }
  QString text = InnerText(dom);
  auto document = std::make_shared<HtmlDocument>(
      url, std::move(elements), std::move(text),
      std::make_unique<SimDocument>(link_, generation_, navigation, url, page.charset,
                                    std::move(dom)));
  complete(navigation, std::move(document), url, result, true);
}

void SimBrowser::complete(std::size_t navigation, std::shared_ptr<HtmlDocument> document,
                          const QString& url, LoadResult result, bool shown) {
  const std::uint64_t generation = generation_;
  // Each step runs only while no newer navigation has started.
  const std::weak_ptr<Link> link = link_;
  auto live = [link, generation]() -> SimBrowser* {
    auto l = link.lock();
    return l && l->browser && l->browser->current(generation) ? l->browser : nullptr;
  };
  desk_.post([live, document, url, generation, shown] {
    if (SimBrowser* b = live()) {
      if (shown) {
        b->shown_ = generation;
        b->shownDocument_ = document;
      }
      BackEnd::navigateComplete(b->browser_, document, url, true);
    }
  });
  desk_.post([live, document, url, navigation, result] {
    if (SimBrowser* b = live()) {
      b->pending_.reset();
      SimNavigation& record = b->web().navigation(navigation);
      record.state = SimNavigation::State::Completed;
      record.result = result;
      BackEnd::documentComplete(b->browser_, document, url, true, result);
    }
  });
}

}  // namespace tidex
