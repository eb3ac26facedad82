#pragma once

#include <functional>

#include "platform/html_document.h"

namespace tidex {

// Goes through the document's elements by index, in document order, and calls visit for
// each whose tag name in upper case is "INPUT". The length is read once, as the scan starts.
void ScanInputs(HtmlDocument& document, const std::function<void(HtmlElement&)>& visit);

}  // namespace tidex
