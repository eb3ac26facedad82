#pragma once

namespace tidex {

class HtmlDocument;

// Disarms the page's dialog functions after a navigation: alert shows nothing, confirm shows
// nothing and refuses, showModalDialog opens nothing. Each step may fail; the rest still run.
void NeutralisePageScripts(HtmlDocument& document);

}  // namespace tidex
