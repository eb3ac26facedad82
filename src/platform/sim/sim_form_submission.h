#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "platform/sim/sim_html_parser.h"
#include "platform/sim/sim_web.h"

namespace tidex {

// A name or value of application/x-www-form-urlencoded data: line breaks become CR LF, the
// text is encoded in the page's charset (a character Big5 lacks as "&#N;"), then A-Z a-z 0-9
// - _ . * stay, a space becomes "+" and every other byte "%XX".
QByteArray FormUrlEncode(const QString& text, PageCharset charset);

// Resolves an address written in a page against the page's address; non-ASCII characters of
// the query are percent-encoded in the page's charset. The fragment is dropped.
QString ResolveUrl(const QString& base, const QString& reference, PageCharset charset);

// What a click on an element starts, as a browser does it: a submit button or image input
// submits its form, an element in a link with an address follows the link; anything else
// starts nothing.
std::optional<SimRequest> ClickRequest(const SimDom& dom, int element, const QString& pageUrl,
                                       PageCharset charset);

}  // namespace tidex
