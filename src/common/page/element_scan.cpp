#include "common/page/element_scan.h"

namespace tidex {

void ScanInputs(HtmlDocument& document, const std::function<void(HtmlElement&)>& visit) {
  ElementCollection all = document.All();
  const int length = all.length();
  for (int i = 0; i <= length - 1; ++i) {
    HtmlElement element = all.item(i);
    if (element.tagName().toUpper() == QLatin1String("INPUT")) visit(element);
  }
}

}  // namespace tidex
