#include "platform/sim/sim_inner_text.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tidex {
namespace {

template <std::size_t N>
bool among(const QString& tag, const std::array<const char16_t*, N>& tags) {
  return std::any_of(tags.begin(), tags.end(), [&tag](const char16_t* t) { return tag == t; });
}

constexpr auto kNotRendered = std::to_array<const char16_t*>(
    {u"HEAD",   u"TITLE", u"SCRIPT", u"STYLE",    u"NOSCRIPT", u"TEMPLATE", u"META",
     u"LINK",   u"BASE",  u"INPUT",  u"TEXTAREA", u"IMG",      u"IFRAME",   u"OBJECT",
     u"EMBED",  u"VIDEO", u"AUDIO",  u"CANVAS",   u"AREA",     u"DATALIST", u"PARAM",
     u"SOURCE", u"TRACK", u"FRAME",  u"FRAMESET", u"NOFRAMES", u"NOEMBED"});

constexpr auto kBlocks = std::to_array<const char16_t*>(
    {u"ADDRESS",  u"ARTICLE",    u"ASIDE",  u"BLOCKQUOTE", u"BODY",   u"CAPTION", u"CENTER",
     u"DD",       u"DETAILS",    u"DIALOG", u"DIR",        u"DIV",    u"DL",      u"DT",
     u"FIELDSET", u"FIGCAPTION", u"FIGURE", u"FOOTER",     u"FORM",   u"H1",      u"H2",
     u"H3",       u"H4",         u"H5",     u"H6",         u"HEADER", u"HGROUP",  u"HR",
     u"HTML",     u"LEGEND",     u"LI",     u"LISTING",    u"MAIN",   u"MENU",    u"NAV",
     u"OL",       u"OPTGROUP",   u"OPTION", u"PLAINTEXT",  u"PRE",    u"SECTION", u"SUMMARY",
     u"TABLE",    u"UL",         u"XMP"});

constexpr auto kPreformatted =
    std::to_array<const char16_t*>({u"PRE", u"LISTING", u"PLAINTEXT", u"XMP"});

bool isCollapsibleSpace(QChar c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isHidden(const SimDom& dom, int node) {
  if (dom.hasAttribute(node, u"hidden")) return true;
  QString style = dom.attribute(node, u"style").toLower();
  style.remove(u' ');
  return style.contains(u"display:none");
}

// Line breaks a block asks for before and after itself.
int blockBreaks(const QString& tag) {
  if (tag == u"P") return 2;
  return among(tag, kBlocks) ? 1 : 0;
}

bool isLastCell(const SimDom& dom, int cell) {
  const auto& siblings = dom.node(dom.node(cell).parent).children;
  auto it = std::find(siblings.begin(), siblings.end(), cell);
  return std::none_of(it + 1, siblings.end(), [&dom](int s) {
    return dom.node(s).tag == u"TD" || dom.node(s).tag == u"TH";
  });
}

bool isLastRow(const SimDom& dom, int row) {
  const int table = dom.closest(dom.node(row).parent, u"TABLE");
  if (table < 0) return true;
  for (int i = dom.node(row).end; i < dom.node(table).end; ++i) {
    if (dom.node(i).tag == u"TR" && dom.closest(dom.node(i).parent, u"TABLE") == table) {
      return false;
    }
  }
  return true;
}

// Collects the text: runs of required line breaks merge into the largest; spaces collapse
// and vanish at the ends of lines and cells.
class TextCollector {
 public:
  void text(const QString& text) {
    for (QChar c : text) {
      if (isCollapsibleSpace(c)) {
        space_ = space_ || !lineStart_;
        continue;
      }
      put(c);
    }
  }
  void preformatted(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (QChar c : text) {
      space_ = false;
      put(c);
      lineStart_ = c == u'\n';
    }
  }
  void requireBreaks(int count) {
    required_ = std::max(required_, count);
    space_ = false;
    lineStart_ = true;
  }
  // A line break or a tab that is part of the text.
  void separator(QChar c) {
    space_ = false;
    put(c);
    lineStart_ = true;
  }
  QString finish() {
    qsizetype first = 0;
    while (first < out_.size() && out_[first] == u'\n') ++first;
    qsizetype last = out_.size();
    while (last > first && out_[last - 1] == u'\n') --last;
    return out_.mid(first, last - first).replace(u'\n', QStringLiteral("\r\n"));
  }

 private:
  void put(QChar c) {
    if (required_ > 0 && !out_.isEmpty()) {
      out_ += QString(required_, u'\n');
    } else if (space_) {
      out_ += u' ';
    }
    required_ = 0;
    space_ = false;
    lineStart_ = false;
    out_ += c;
  }

  QString out_;
  int required_ = 0;
  bool space_ = false;
  bool lineStart_ = true;
};

}  // namespace

QString InnerText(const SimDom& dom, int node) {
  if (node < 0 || node >= dom.nodeCount()) return {};
  TextCollector text;
  int preformatted = 0;

  // Returns whether to go into the node's children.
  auto enter = [&](int n) {
    const SimNode& current = dom.node(n);
    if (!current.isElement()) {
      preformatted > 0 ? text.preformatted(current.text) : text.text(current.text);
      return false;
    }
    if (among(current.tag, kNotRendered) || isHidden(dom, n)) return false;
    if (current.tag == u"BR") {
      text.separator(u'\n');
      return false;
    }
    if (const int breaks = blockBreaks(current.tag)) text.requireBreaks(breaks);
    if (among(current.tag, kPreformatted)) ++preformatted;
    return true;
  };
  auto leave = [&](int n) {
    const QString& tag = dom.node(n).tag;
    if (const int breaks = blockBreaks(tag)) text.requireBreaks(breaks);
    if ((tag == u"TD" || tag == u"TH") && !isLastCell(dom, n)) text.separator(u'\t');
    if (tag == u"TR" && !isLastRow(dom, n)) text.separator(u'\n');
    if (among(tag, kPreformatted)) --preformatted;
  };

  // Depth-first without recursion: (node, next child to visit).
  std::vector<std::pair<int, std::size_t>> stack;
  if (enter(node)) stack.emplace_back(node, 0);
  while (!stack.empty()) {
    auto& [n, next] = stack.back();
    const auto& children = dom.node(n).children;
    if (next == children.size()) {
      leave(n);
      stack.pop_back();
      continue;
    }
    const int child = children[next++];
    if (enter(child)) stack.emplace_back(child, 0);
  }
  return text.finish();
}

}  // namespace tidex
