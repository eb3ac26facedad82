#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QVariant>

#include "platform/html_document.h"

namespace tidex {

class QtWebBrowserPeer;

// What the snapshot script read from a page.
struct PageSnapshot {
  std::vector<ElementData> elements;
  std::vector<bool> navigates;  // per element: a click is expected to start a navigation
  QString text;                 // the rendered text, lines ending in CR LF
  QString url;
};

// Reads the snapshot script's result; an empty snapshot when the result is not one.
PageSnapshot readSnapshot(const QVariant& result);

// Line breaks as CR LF.
QString withCrLf(QString text);

// The document window code sees; its writes, clicks and scripts reach the page through the
// browser, for as long as the browser still shows the load it was read from.
std::shared_ptr<HtmlDocument> makeDocument(PageSnapshot snapshot, const QString& url,
                                           QtWebBrowserPeer& browser, quint64 load);

}  // namespace tidex
