#include "service_faults.h"

#include <array>
#include <utility>

#include <QUrl>

#include "big5_page.h"

namespace tidex::sites {
namespace {

constexpr std::array<std::pair<Fault, const char*>, 13> kFaultNames{{
    {Fault::None, "none"},
    {Fault::ServerError, "500"},
    {Fault::NotFound, "404"},
    {Fault::Refused, "refused"},
    {Fault::Never, "never"},
    {Fault::Download, "download"},
    {Fault::RedirectLoop, "redirect-loop"},
    {Fault::RedirectAway, "redirect-away"},
    {Fault::Moved, "moved"},
    {Fault::CutOff, "cut-off"},
    {Fault::Huge, "huge"},
    {Fault::ManyElements, "many-elements"},
    {Fault::DialogLoop, "dialogs"},
}};

// Each round asks for every dialog twenty times; the rounds go on while the page is shown.
const char kDialogLoopScript[] =
    "<script>(function () {\n"
    "  function pester() {\n"
    "    for (var i = 0; i < 20; i++) {\n"
    "      alert('alert ' + i);\n"
    "      confirm('confirm ' + i);\n"
    "      print();\n"
    "      window.open('/elsewhere/popup?' + i, '_blank');\n"
    "    }\n"
    "  }\n"
    "  pester();\n"
    "  setInterval(pester, 100);\n"
    "})();</script>\n";

SiteResponse errorStatus(int status, const QString& text) {
  return {status, "text/html; charset=big5",
          Big5Page(QStringLiteral("HTTP %1").arg(status),
                   QStringLiteral("<h2>HTTP %1</h2><p>%2</p>").arg(status).arg(text))};
}

SiteResponse redirect(const QByteArray& location, int status = 302) {
  SiteResponse answer{status, "text/html; charset=utf-8", "<p>moved</p>"};
  answer.headers.emplace_back("Location", location);
  return answer;
}

QByteArray downloadBytes() {
  QByteArray bytes("PK\x03\x04", 4);
  for (int i = 0; bytes.size() < 256 * 1024; ++i) bytes += static_cast<char>((i * 131 + 7) & 0xFF);
  return bytes;
}

// Puts html before the page's closing body tag, or at its end without one.
QByteArray insertBeforeBodyEnd(const QByteArray& page, const QByteArray& html) {
  const qsizetype end = page.toLower().lastIndexOf("</body>");
  QByteArray out = page;
  return end < 0 ? out + html : out.insert(end, html);
}

QByteArray blankLinesTo(qsizetype pageBytes, qsizetype size) {
  const QByteArray line = QByteArray(63, ' ') + '\n';
  QByteArray block = "<pre>\n";
  while (pageBytes + block.size() + 6 < size) block += line;
  return block + "</pre>";
}

QByteArray emptyElements(int count) {
  QByteArray elements;
  elements.reserve(count * 13);
  for (int i = 0; i < count; ++i) elements += "<span></span>";
  return elements;
}

}  // namespace

std::optional<Service> ServiceNamed(const QString& name) {
  if (name == u"board") return Service::Board;
  if (name == u"imct") return Service::Imct;
  if (name == u"customs") return Service::Customs;
  if (name == u"maker") return Service::Maker;
  return std::nullopt;
}

std::optional<Fault> FaultNamed(const QString& name) {
  for (const auto& [fault, text] : kFaultNames) {
    if (name == QLatin1String(text)) return fault;
  }
  return std::nullopt;
}

QString FaultName(Fault fault) {
  for (const auto& [f, text] : kFaultNames) {
    if (f == fault) return QString::fromLatin1(text);
  }
  return {};
}

bool FaultReplacesService(Fault fault) {
  switch (fault) {
    case Fault::ServerError:
    case Fault::NotFound:
    case Fault::Refused:
    case Fault::Never:
    case Fault::Download:
    case Fault::RedirectLoop:
    case Fault::RedirectAway:
    case Fault::Moved:
      return true;
    case Fault::None:
    case Fault::CutOff:
    case Fault::Huge:
    case Fault::ManyElements:
    case Fault::DialogLoop:
      return false;
  }
  return false;
}

SiteResponse FaultAnswer(Fault fault, const SiteRequest& request) {
  switch (fault) {
    case Fault::ServerError:
      return errorStatus(500, QStringLiteral("伺服器發生錯誤，無法顯示網頁。"));
    case Fault::NotFound:
      return errorStatus(404, QStringLiteral("找不到網頁"));
    case Fault::Refused:
      return SiteResponse::refused();
    case Fault::Never:
      return SiteResponse::never();
    case Fault::Download: {
      SiteResponse answer{200, "application/octet-stream", downloadBytes()};
      answer.headers.emplace_back("Content-Disposition", "attachment; filename=\"UA1006.bin\"");
      return answer;
    }
    case Fault::RedirectLoop: {
      QByteArray self = QUrl::toPercentEncoding(QString::fromUtf8(request.path), "/");
      if (!request.query.isEmpty()) self += '?' + request.query;
      return redirect(self);
    }
    case Fault::RedirectAway:
      return redirect(AwayAddress(request.host).toLatin1());
    case Fault::Moved: {
      QByteArray there = "http://" + OtherHost(request.host) +
                         QUrl::toPercentEncoding(QString::fromUtf8(request.path), "/");
      if (!request.query.isEmpty()) there += '?' + request.query;
      return redirect(there, 301);
    }
    case Fault::None:
    case Fault::CutOff:
    case Fault::Huge:
    case Fault::ManyElements:
    case Fault::DialogLoop:
      break;
  }
  return errorStatus(500, QStringLiteral("no such fault"));
}

SiteResponse SpoilAnswer(Fault fault, SiteResponse answer) {
  switch (fault) {
    case Fault::CutOff:
      answer.delivery = SiteResponse::Delivery::CutOff;
      break;
    case Fault::Huge:
      answer.body =
          insertBeforeBodyEnd(answer.body, blankLinesTo(answer.body.size(), kHugePageBytes));
      break;
    case Fault::ManyElements:
      answer.body = insertBeforeBodyEnd(answer.body, emptyElements(kManyElements));
      break;
    case Fault::DialogLoop:
      answer.body = insertBeforeBodyEnd(answer.body, kDialogLoopScript);
      break;
    default:
      break;
  }
  return answer;
}

QByteArray OtherHost(const QByteArray& host) {
  const qsizetype colon = host.lastIndexOf(':');
  const QByteArray name = colon < 0 ? host : host.left(colon);
  const QByteArray port = colon < 0 ? QByteArray() : host.mid(colon);
  return (name.compare("127.0.0.1") == 0 ? "localhost" : "127.0.0.1") + port;
}

QString AwayAddress(const QByteArray& host) {
  return QStringLiteral("http://") + QString::fromLatin1(OtherHost(host)) +
         QLatin1String(kLandingPath);
}

bool FaultMeets(Fault fault, const SiteRequest& request) {
  if (fault != Fault::Moved) return true;
  const qsizetype colon = request.host.lastIndexOf(':');
  return (colon < 0 ? request.host : request.host.left(colon)).compare("localhost") != 0;
}

SiteResponse LandingPage() {
  return {200, "text/html; charset=big5",
          Big5Page(QStringLiteral("歡迎"),
                   QStringLiteral("<h2>歡迎使用本網路</h2><p>請先登入。</p>"
                                  "<form method=\"GET\" action=\"/elsewhere/\">"
                                  "<input type=\"text\" name=\"UserName\">"
                                  "<input type=\"password\" name=\"Passwd\">"
                                  "<input type=\"submit\" name=\"go\" value=\"登入\"></form>"))};
}

}  // namespace tidex::sites
