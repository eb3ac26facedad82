#include "platform/qt/qt_scheme_rule.h"

#include <QUrl>

namespace tidex {

bool IsAllowedPageUrl(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  if (scheme == u"http" || scheme == u"https") return url.isValid() && !url.host().isEmpty();
  if (scheme == u"about") return url.path() == u"blank" || url.path() == u"srcdoc";
  return false;
}

void SchemeInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  const bool frame = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame ||
                     info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeSubFrame;
  if (url.isLocalFile() || (frame && !IsAllowedPageUrl(url))) info.block(true);
}

}  // namespace tidex
