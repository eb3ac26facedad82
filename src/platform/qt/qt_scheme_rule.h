#pragma once

#include <QWebEngineUrlRequestInterceptor>

class QUrl;

namespace tidex {

// The only pages any browser of the program loads: http and https, and the empty about:blank
// (about:srcdoc for a frame's inline page). No file, data, javascript or other address, whether
// the program asks for it or a page links, redirects or scripts its way there.
bool IsAllowedPageUrl(const QUrl& url);

// Blocks, on the shared profile, every request for a frame outside that rule and every
// request for a local file.
class SchemeInterceptor final : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace tidex
