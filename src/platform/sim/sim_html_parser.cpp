#include "platform/sim/sim_html_parser.h"

#include <algorithm>
#include <memory>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

namespace tidex {
namespace {

QString fromXml(const xmlChar* text) {
  return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

bool isAsciiSpace(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Strips ASCII white space at both ends and collapses each run inside to one space.
QString collapseAsciiSpace(const QString& text) {
  QString out;
  bool space = false;
  for (QChar c : text) {
    if (isAsciiSpace(c)) {
      space = !out.isEmpty();
      continue;
    }
    if (space) out += u' ';
    space = false;
    out += c;
  }
  return out;
}

bool isElement(const xmlNode* n, const char* name) {
  return n->type == XML_ELEMENT_NODE && n->name &&
         xmlStrcasecmp(n->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool hasChildElement(const xmlNode* parent, const char* name) {
  for (const xmlNode* c = parent->children; c; c = c->next) {
    if (isElement(c, name)) return true;
  }
  return false;
}

struct XmlDocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};

}  // namespace

// Copies libxml2's tree into a SimDom, without recursion (pages may nest deeply).
class SimDomBuilder {
 public:
  SimDom build(xmlDoc* doc) {
    // libxml2 always makes the root an html element, implied when the page has none.
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    const int html = addElement(QStringLiteral("HTML"), root, -1);
    if (!root || !hasChildElement(root, "head")) addElement(QStringLiteral("HEAD"), nullptr, html);
    if (root) copyChildren(root, html);
    if (!root || !(hasChildElement(root, "body") || hasChildElement(root, "frameset"))) {
      addElement(QStringLiteral("BODY"), nullptr, html);
    }
    finish();
    return std::move(dom_);
  }

 private:
  int add(SimNode node, int parent) {
    node.parent = parent;
    const int index = static_cast<int>(dom_.nodes_.size());
    if (parent >= 0) dom_.nodes_[parent].children.push_back(index);
    if (node.isElement()) dom_.elements_.push_back(index);
    dom_.nodes_.push_back(std::move(node));
    return index;
  }

  int addElement(const QString& tag, const xmlNode* source, int parent) {
    SimNode node;
    node.tag = tag;
    if (source) {
      for (const xmlAttr* a = source->properties; a; a = a->next) {
        xmlChar* value = xmlNodeListGetString(source->doc, a->children, 1);
        node.attributes.emplace_back(fromXml(a->name).toLower(), fromXml(value));
        xmlFree(value);
      }
    }
    return add(std::move(node), parent);
  }

  void addText(const xmlChar* content, int parent) {
    SimNode node;
    node.text = fromXml(content);
    const SimNode& p = dom_.nodes_[parent];
    const bool first = p.children.empty();
    if (first && (p.tag == u"PRE" || p.tag == u"LISTING" || p.tag == u"TEXTAREA")) {
      // A newline right after the start tag is not part of the content.
      if (node.text.startsWith(u"\r\n")) {
        node.text.remove(0, 2);
      } else if (node.text.startsWith(u'\n')) {
        node.text.remove(0, 1);
      }
    }
    add(std::move(node), parent);
  }

  void copyChildren(const xmlNode* from, int parent) {
    std::vector<std::pair<const xmlNode*, int>> stack;
    auto pushChildren = [&stack](const xmlNode* n, int at) {
      for (const xmlNode* c = n->last; c; c = c->prev) stack.emplace_back(c, at);
    };
    pushChildren(from, parent);
    while (!stack.empty()) {
      auto [n, at] = stack.back();
      stack.pop_back();
      if (n->type == XML_ELEMENT_NODE && n->name) {
        const int index = addElement(fromXml(n->name).toUpper(), n, at);
        pushChildren(n, index);
      } else if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
        addText(n->content, at);
      }
    }
  }

  void finish() {
    auto& nodes = dom_.nodes_;
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
      nodes[i].end = nodes[i].children.empty() ? i + 1 : nodes[nodes[i].children.back()].end;
    }
    for (int i : dom_.elements_) {
      SimNode& n = nodes[i];
      if (n.tag == u"INPUT") {
        const QString type = dom_.attribute(i, u"type").toLower();
        const bool toggle = type == u"checkbox" || type == u"radio";
        n.value = toggle && !dom_.hasAttribute(i, u"value") ? QStringLiteral("on")
                                                            : dom_.attribute(i, u"value");
      } else if (n.tag == u"TEXTAREA") {
        n.value = dom_.textContent(i);
      } else if (n.tag == u"OPTION") {
        n.selected = dom_.hasAttribute(i, u"selected");
      }
    }
  }

  SimDom dom_;
};

bool SimDom::hasAttribute(int node, QStringView name) const {
  const auto& attributes = nodes_[node].attributes;
  return std::any_of(attributes.begin(), attributes.end(),
                     [name](const auto& a) { return a.first == name; });
}

QString SimDom::attribute(int node, QStringView name) const {
  for (const auto& [key, value] : nodes_[node].attributes) {
    if (key == name) return value;
  }
  return {};
}

int SimDom::closest(int node, QStringView tag) const {
  for (int n = node; n >= 0; n = nodes_[n].parent) {
    if (nodes_[n].tag == tag) return n;
  }
  return -1;
}

QString SimDom::textContent(int node) const {
  QString text;
  for (int i = node + 1; i < nodes_[node].end; ++i) {
    if (!nodes_[i].isElement()) text += nodes_[i].text;
  }
  return text;
}

QString SimDom::optionValue(int node) const {
  return hasAttribute(node, u"value") ? attribute(node, u"value")
                                      : collapseAsciiSpace(textContent(node));
}

std::vector<int> SimDom::options(int select) const {
  std::vector<int> found;
  for (int i = select + 1; i < nodes_[select].end; ++i) {
    if (nodes_[i].tag == u"OPTION") found.push_back(i);
  }
  return found;
}

std::vector<int> SimDom::selectedOptions(int select) const {
  const std::vector<int> all = options(select);
  std::vector<int> chosen;
  for (int o : all) {
    if (nodes_[o].selected) chosen.push_back(o);
  }
  if (hasAttribute(select, u"multiple")) return chosen;
  // A single choice shows the last selected option, else the first that may be chosen.
  if (!chosen.empty()) return {chosen.back()};
  for (int o : all) {
    if (!hasAttribute(o, u"disabled")) return {o};
  }
  return {};
}

ElementData SimDom::elementData(int element) const {
  const int i = elements_[element];
  const SimNode& n = nodes_[i];
  ElementData data;
  data.tagName = n.tag;
  data.name = attribute(i, u"name");
  data.src = attribute(i, u"src");
  data.isImage = n.tag == u"IMG";
  data.type = attribute(i, u"type").toLower();
  data.value = attribute(i, u"value");
  if (n.tag == u"INPUT") {
    if (data.type.isEmpty()) data.type = QStringLiteral("text");
    data.value = n.value;
  } else if (n.tag == u"TEXTAREA") {
    data.type = QStringLiteral("textarea");
    data.value = n.value;
  } else if (n.tag == u"BUTTON") {
    if (data.type != u"reset" && data.type != u"button") data.type = QStringLiteral("submit");
  } else if (n.tag == u"SELECT") {
    const bool multiple = hasAttribute(i, u"multiple");
    data.type = multiple ? QStringLiteral("select-multiple") : QStringLiteral("select-one");
    const std::vector<int> chosen = selectedOptions(i);
    data.value = chosen.empty() ? QString() : optionValue(chosen.front());
  } else if (n.tag == u"OPTION") {
    data.value = optionValue(i);
  }
  return data;
}

std::vector<ElementData> SimDom::elementData() const {
  std::vector<ElementData> all;
  all.reserve(elements_.size());
  for (int e = 0; e < elementCount(); ++e) all.push_back(elementData(e));
  return all;
}

void SimDom::setValue(int element, const QString& value) {
  if (element < 0 || element >= elementCount()) return;
  const int i = elements_[element];
  SimNode& n = nodes_[i];
  if (n.tag == u"SELECT") {
    bool found = false;
    for (int o : options(i)) {
      nodes_[o].selected = !found && optionValue(o) == value;
      found = found || nodes_[o].selected;
    }
  } else if (n.tag == u"INPUT" || n.tag == u"TEXTAREA") {
    n.value = value;
  } else {
    for (auto& [key, v] : n.attributes) {
      if (key == u"value") {
        v = value;
        return;
      }
    }
    n.attributes.emplace_back(QStringLiteral("value"), value);
  }
}

SimDom ParseHtml(const QString& html) {
  const QByteArray utf8 = html.toUtf8();
  std::unique_ptr<xmlDoc, XmlDocDeleter> doc;
  if (!utf8.isEmpty()) {
    doc.reset(htmlReadMemory(utf8.constData(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                             HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                 HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC));
  }
  return SimDomBuilder().build(doc.get());
}

}  // namespace tidex
