#pragma once

#include <QString>

#include "platform/sim/sim_html_parser.h"

namespace tidex {

// The rendered text of a node as a browser's innerText gives it: white space collapsed,
// blocks and table rows on lines of their own, table cells separated by tabs, what is not
// displayed (head, script, style, hidden elements) left out. Lines are joined with CR LF;
// there are no blank lines at either end.
QString InnerText(const SimDom& dom, int node = 0);

}  // namespace tidex
