#include "platform/sim/sim_web.h"

#include <algorithm>
#include <utility>

#include <QRegularExpression>
#include <QUrl>
#include <QtGlobal>

#include "platform/ansi_text.h"

namespace tidex {
namespace {

constexpr qsizetype kMetaScanBytes = 64 * 1024;

QByteArray charsetLabel(const QByteArray& contentType, const QByteArray& body) {
  static const QRegularExpression header(
      QStringLiteral(R"(charset\s*=\s*["']?([A-Za-z0-9_.:\-]+))"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression meta(
      QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?([A-Za-z0-9_.:\-]+))"),
      QRegularExpression::CaseInsensitiveOption);
  if (auto m = header.match(QString::fromLatin1(contentType)); m.hasMatch()) {
    return m.captured(1).toLatin1().toLower();
  }
  if (auto m = meta.match(QString::fromLatin1(body.left(kMetaScanBytes))); m.hasMatch()) {
    return m.captured(1).toLatin1().toLower();
  }
  return {};
}

bool isBig5Label(const QByteArray& label) {
  return label == "big5" || label == "big5-hkscs" || label == "x-x-big5" || label == "x-big5" ||
         label == "cn-big5" || label == "csbig5" || label == "cp950" || label == "windows-950" ||
         label == "ms950";
}

// Percent-encodes what may not stand in an address as it is: non-ASCII characters (as
// UTF-8), spaces and controls.
QByteArray encodeForAddress(const QString& text) {
  QByteArray out;
  for (char byte : text.toUtf8()) {
    const auto b = static_cast<unsigned char>(byte);
    if (b <= 0x20 || b >= 0x7F || b == '"' || b == '<' || b == '>' || b == '`') {
      out += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    } else {
      out += byte;
    }
  }
  return out;
}

}  // namespace

DecodedPage DecodePage(const QByteArray& contentType, const QByteArray& body) {
  if (body.startsWith("\xEF\xBB\xBF")) return {QString::fromUtf8(body.mid(3)), PageCharset::Utf8};
  if (isBig5Label(charsetLabel(contentType, body))) return {fromAnsi(body), PageCharset::Big5};
  return {QString::fromUtf8(body), PageCharset::Utf8};
}

WebResponse SimWeb::fetch(const SimRequest& request, bool held) {
  const QString& url = request.url;
  const qsizetype schemeEnd = url.indexOf(u"://");
  const QString scheme = url.left(std::max<qsizetype>(schemeEnd, 0)).toLower();
  if (scheme != u"http" && scheme != u"https") return WebResponse::refused();

  QString rest = url.mid(schemeEnd + 3);
  rest.truncate(rest.indexOf(u'#') < 0 ? rest.size() : rest.indexOf(u'#'));
  qsizetype pathStart = rest.size();
  for (QChar stop : {u'/', u'?'}) {
    const qsizetype at = rest.indexOf(stop);
    if (at >= 0) pathStart = std::min(pathStart, at);
  }
  if (pathStart == 0) return WebResponse::refused();  // no host

  QString target = rest.mid(pathStart);
  const qsizetype question = target.indexOf(u'?');
  WebRequest serverRequest;
  serverRequest.method = request.method;
  serverRequest.body = request.body;
  if (question >= 0) serverRequest.query = encodeForAddress(target.mid(question + 1));
  const QString path = question >= 0 ? target.left(question) : target;
  serverRequest.path = QByteArray::fromPercentEncoding(encodeForAddress(path));
  if (serverRequest.path.isEmpty()) serverRequest.path = "/";
  const QString host = rest.left(pathStart).toLower();
  serverRequest.cookie = cookieHeader(host, serverRequest.path);
  serverRequest.host = host.toLatin1();
  if (!server_) return WebResponse::refused();
  WebResponse answer = held ? server_->respond(serverRequest) : server_->handle(serverRequest);
  storeCookies(host, answer);
  return answer;
}

SimLoad SimWeb::load(SimRequest request, bool held) {
  for (int redirects = 0;; ++redirects) {
    WebResponse answer = fetch(request, held && redirects == 0);
    QByteArray location;
    for (const auto& [name, value] : answer.headers) {
      if (name.compare("location", Qt::CaseInsensitive) == 0) location = value;
    }
    const bool redirect = answer.delivery == WebResponse::Delivery::Answer &&
                          answer.status >= 300 && answer.status < 400 && !location.isEmpty();
    if (!redirect) return {std::move(answer), request.url};
    if (redirects == kMaxRedirects) return {WebResponse::refused(), request.url, true};
    const QUrl next = QUrl(request.url).resolved(QUrl::fromEncoded(location));
    request.url = QString::fromLatin1(next.toEncoded());
    if (answer.status != 307 && answer.status != 308) {
      request.method = "GET";
      request.body.clear();
      request.contentType.clear();
    }
  }
}

bool IsDownload(const WebResponse& answer) {
  for (const auto& [name, value] : answer.headers) {
    if (name.compare("content-disposition", Qt::CaseInsensitive) == 0 &&
        value.trimmed().toLower().startsWith("attachment")) {
      return true;
    }
  }
  return answer.contentType.trimmed().toLower().startsWith("application/octet-stream");
}

// One jar for every browser, as the real program shares one browser profile.
QByteArray SimWeb::cookieHeader(const QString& host, const QByteArray& path) const {
  QByteArrayList pairs;
  for (const Cookie& cookie : cookies_) {
    if (cookie.host == host && path.startsWith(cookie.path)) {
      pairs << cookie.name + '=' + cookie.value;
    }
  }
  return pairs.join("; ");
}

void SimWeb::storeCookies(const QString& host, const WebResponse& answer) {
  for (const auto& [name, value] : answer.headers) {
    if (name.toLower() != "set-cookie") continue;
    const QByteArrayList parts = value.split(';');
    const qsizetype equals = parts.front().indexOf('=');
    if (equals <= 0) continue;
    Cookie cookie{host, parts.front().left(equals).trimmed(),
                  parts.front().mid(equals + 1).trimmed(), "/"};
    for (const QByteArray& part : parts.mid(1)) {
      const QByteArray attribute = part.trimmed();
      if (attribute.toLower().startsWith("path=")) cookie.path = attribute.mid(5);
    }
    std::erase_if(cookies_, [&](const Cookie& c) {
      return c.host == cookie.host && c.name == cookie.name && c.path == cookie.path;
    });
    cookies_.push_back(std::move(cookie));
  }
}

std::size_t SimWeb::beginNavigation(const QString& browser, SimRequest request) {
  SimNavigation navigation;
  navigation.browser = browser;
  navigation.request = std::move(request);
  navigation.startedMs = clock_.elapsedMs();
  navigations_.push_back(std::move(navigation));
  return navigations_.size() - 1;
}

std::vector<StalledPage> SimWeb::stalledPages() const {
  std::vector<StalledPage> stalled;
  const std::int64_t limit = std::chrono::milliseconds(kStallLimit).count();
  for (const SimNavigation& n : navigations_) {
    const std::int64_t pending = clock_.elapsedMs() - n.startedMs;
    if (n.state == SimNavigation::State::Pending && pending > limit) {
      stalled.push_back({n.browser, n.request.url, pending});
    }
  }
  return stalled;
}

void SimWeb::dropPending() {
  for (SimNavigation& n : navigations_) {
    if (n.state == SimNavigation::State::Pending) n.state = SimNavigation::State::Dropped;
  }
}

namespace {
std::vector<StalledPage>& teardownRecord() {
  static std::vector<StalledPage> record;
  return record;
}
}  // namespace

void SimWeb::reportStalledPages() const {
  for (const StalledPage& page : stalledPages()) {
    qWarning("SimWeb: %s never completed %s (pending %lld ms)", qPrintable(page.browser),
             qPrintable(page.url), static_cast<long long>(page.pendingMs));
    teardownRecord().push_back(page);
  }
}

std::vector<StalledPage> SimWeb::takeStalledAtTeardown() {
  return std::exchange(teardownRecord(), {});
}

}  // namespace tidex
