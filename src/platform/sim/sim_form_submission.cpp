#include "platform/sim/sim_form_submission.h"

#include <utility>
#include <vector>

#include <QUrl>

#include "platform/ansi_text.h"

namespace tidex {
namespace {

QByteArray percent(unsigned char b) {
  static const char hex[] = "0123456789ABCDEF";
  const char escaped[] = {'%', hex[b >> 4], hex[b & 0xF]};
  return QByteArray(escaped, 3);
}

// The text in the page's charset; a character Big5 lacks becomes a numeric reference.
QByteArray inCharset(const QString& text, PageCharset charset) {
  if (charset == PageCharset::Utf8) return text.toUtf8();
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const QString one = text.mid(i, pair ? 2 : 1);
    const QByteArray bytes = toAnsi(one);
    if (bytes == "?" && one != u"?") {
      const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
      out += "&#" + QByteArray::number(static_cast<uint>(code)) + ';';
    } else {
      out += bytes;
    }
    if (pair) ++i;
  }
  return out;
}

QString normaliseLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  return text.replace(u'\n', QStringLiteral("\r\n"));
}

QByteArray encodeQuery(const QString& query, PageCharset charset) {
  QByteArray out;
  for (char byte : inCharset(query, charset)) {
    const auto b = static_cast<unsigned char>(byte);
    const bool escape = b <= 0x20 || b >= 0x7F || b == '"' || b == '<' || b == '>' || b == '`';
    out += escape ? percent(b) : QByteArray(1, byte);
  }
  return out;
}

QString stripQuery(const QString& url) {
  qsizetype end = url.size();
  for (QChar stop : {u'?', u'#'}) {
    const qsizetype at = url.indexOf(stop);
    if (at >= 0 && at < end) end = at;
  }
  return url.left(end);
}

bool isDisabled(const SimDom& dom, int node) {
  for (int n = node; n >= 0; n = dom.node(n).parent) {
    if ((n == node || dom.node(n).tag == u"FIELDSET") && dom.hasAttribute(n, u"disabled")) {
      return true;
    }
  }
  return false;
}

QString inputType(const SimDom& dom, int node) {
  const QString type = dom.attribute(node, u"type").toLower();
  return type.isEmpty() ? QStringLiteral("text") : type;
}

bool isSubmitter(const SimDom& dom, int node) {
  const SimNode& n = dom.node(node);
  if (n.tag == u"INPUT") {
    const QString type = inputType(dom, node);
    return type == u"submit" || type == u"image";
  }
  if (n.tag == u"BUTTON") {
    const QString type = dom.attribute(node, u"type").toLower();
    return type != u"reset" && type != u"button";
  }
  return false;
}

// The form a control belongs to: the one its form attribute names, else its nearest
// enclosing one.
int formOwner(const SimDom& dom, int node) {
  if (dom.hasAttribute(node, u"form")) {
    const QString id = dom.attribute(node, u"form");
    for (int e = 0; e < dom.elementCount(); ++e) {
      const int n = dom.elementNode(e);
      if (dom.node(n).tag == u"FORM" && dom.attribute(n, u"id") == id) return n;
    }
    return -1;
  }
  return dom.node(node).parent < 0 ? -1 : dom.closest(dom.node(node).parent, u"FORM");
}

using Entries = std::vector<std::pair<QString, QString>>;

// The name=value pairs of one control, if it is successful.
void addEntries(const SimDom& dom, int node, int submitter, Entries& entries) {
  const SimNode& n = dom.node(node);
  const QString name = dom.attribute(node, u"name");
  if (n.tag == u"INPUT") {
    const QString type = inputType(dom, node);
    if (type == u"image") {
      if (node != submitter) return;
      const QString prefix = name.isEmpty() ? QString() : name + u'.';
      entries.emplace_back(prefix + u'x', QStringLiteral("0"));
      entries.emplace_back(prefix + u'y', QStringLiteral("0"));
      return;
    }
    if (name.isEmpty() || type == u"reset" || type == u"button") return;
    if (type == u"submit" && node != submitter) return;
    if ((type == u"checkbox" || type == u"radio") && !dom.hasAttribute(node, u"checked")) return;
    entries.emplace_back(name, type == u"file" ? QString() : n.value);
  } else if (name.isEmpty()) {
    return;
  } else if (n.tag == u"BUTTON") {
    if (node == submitter) entries.emplace_back(name, dom.attribute(node, u"value"));
  } else if (n.tag == u"SELECT") {
    for (int option : dom.selectedOptions(node)) {
      if (!dom.hasAttribute(option, u"disabled")) {
        entries.emplace_back(name, dom.optionValue(option));
      }
    }
  } else if (n.tag == u"TEXTAREA") {
    entries.emplace_back(name, n.value);
  }
}

SimRequest submit(const SimDom& dom, int form, int submitter, const QString& pageUrl,
                  PageCharset charset) {
  Entries entries;
  for (int e = 0; e < dom.elementCount(); ++e) {
    const int node = dom.elementNode(e);
    const QString& tag = dom.node(node).tag;
    const bool control =
        tag == u"INPUT" || tag == u"BUTTON" || tag == u"SELECT" || tag == u"TEXTAREA";
    if (!control || isDisabled(dom, node) || formOwner(dom, node) != form) continue;
    addEntries(dom, node, submitter, entries);
  }
  QByteArray data;
  for (const auto& [name, value] : entries) {
    if (!data.isEmpty()) data += '&';
    data += FormUrlEncode(name, charset) + '=' + FormUrlEncode(value, charset);
  }

  const QString action = dom.attribute(form, u"action").trimmed();
  const QString target = action.isEmpty() ? pageUrl : ResolveUrl(pageUrl, action, charset);
  SimRequest request;
  if (dom.attribute(form, u"method").trimmed().toLower() == u"post") {
    request.url = target;
    request.method = "POST";
    request.body = data;
    request.contentType = "application/x-www-form-urlencoded";
  } else {
    request.url = stripQuery(target) + u'?' + QString::fromLatin1(data);
  }
  return request;
}

}  // namespace

QByteArray FormUrlEncode(const QString& text, PageCharset charset) {
  QByteArray out;
  for (char byte : inCharset(normaliseLineBreaks(text), charset)) {
    const auto b = static_cast<unsigned char>(byte);
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
        b == '_' || b == '.' || b == '*') {
      out += byte;
    } else if (b == ' ') {
      out += '+';
    } else {
      out += percent(b);
    }
  }
  return out;
}

QString ResolveUrl(const QString& base, const QString& reference, PageCharset charset) {
  QString ref = reference.trimmed();
  if (const qsizetype hash = ref.indexOf(u'#'); hash >= 0) ref.truncate(hash);
  const QUrl baseUrl(base);
  const qsizetype question = ref.indexOf(u'?');
  if (question < 0) {
    return baseUrl.resolved(QUrl(ref)).toString(QUrl::RemoveFragment | QUrl::FullyEncoded);
  }
  const QUrl resolved = baseUrl.resolved(QUrl(ref.left(question)));
  return resolved.toString(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::FullyEncoded) + u'?' +
         QString::fromLatin1(encodeQuery(ref.mid(question + 1), charset));
}

std::optional<SimRequest> ClickRequest(const SimDom& dom, int element, const QString& pageUrl,
                                       PageCharset charset) {
  if (element < 0 || element >= dom.elementCount()) return std::nullopt;
  const int node = dom.elementNode(element);
  if (isSubmitter(dom, node)) {
    const int form = formOwner(dom, node);
    if (form < 0 || isDisabled(dom, node)) return std::nullopt;
    return submit(dom, form, node, pageUrl, charset);
  }
  const int link = dom.closest(node, u"A");
  if (link < 0 || !dom.hasAttribute(link, u"href")) return std::nullopt;
  const QString href = dom.attribute(link, u"href").trimmed();
  // A jump inside the page loads nothing; there is no script engine.
  if (href.startsWith(u'#') || href.startsWith(u"javascript:", Qt::CaseInsensitive)) {
    return std::nullopt;
  }
  SimRequest request;
  request.url = ResolveUrl(pageUrl, href, charset);
  return request;
}

}  // namespace tidex
