#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringView>

#include "platform/html_document.h"

namespace tidex {

// One node of a parsed page: an element, or a text node when tag is empty.
struct SimNode {
  QString tag;                                          // upper case ("INPUT")
  QString text;                                         // a text node's characters
  std::vector<std::pair<QString, QString>> attributes;  // lower-case names, source order
  int parent = -1;
  int end = 0;  // one past the last node of this node's subtree
  std::vector<int> children;
  QString value;          // a form control's current value
  bool selected = false;  // an OPTION's selectedness

  bool isElement() const { return !tag.isEmpty(); }
};

// A page as a browser builds it: nodes in document order, node 0 the HTML element, which
// always has a HEAD and a BODY (or FRAMESET).
class SimDom {
 public:
  int nodeCount() const { return static_cast<int>(nodes_.size()); }
  const SimNode& node(int index) const { return nodes_[index]; }

  // Elements in document order; element 0 is the HTML element.
  int elementCount() const { return static_cast<int>(elements_.size()); }
  int elementNode(int element) const { return elements_[element]; }

  bool hasAttribute(int node, QStringView name) const;
  QString attribute(int node, QStringView name) const;
  // The node itself or its nearest ancestor with this tag, or -1.
  int closest(int node, QStringView tag) const;
  // The text of every text node under node, in order.
  QString textContent(int node) const;
  // An OPTION's value: its value attribute, else its text with white space collapsed.
  QString optionValue(int node) const;
  // The OPTIONs of a SELECT in order.
  std::vector<int> options(int select) const;
  // The OPTIONs a SELECT submits: the selected ones, or for a single choice the first one.
  std::vector<int> selectedOptions(int select) const;

  // What window code reads of an element.
  ElementData elementData(int element) const;
  std::vector<ElementData> elementData() const;
  // A write to an element's value: a field's text, or the choice of a SELECT.
  void setValue(int element, const QString& value);

 private:
  friend class SimDomBuilder;
  std::vector<SimNode> nodes_;
  std::vector<int> elements_;
};

// Parses HTML as a browser does, recovering from any error; never fails.
SimDom ParseHtml(const QString& html);

}  // namespace tidex
