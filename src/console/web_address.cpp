#include "console/web_address.h"

#include <QRegularExpression>
#include <QUrl>

namespace tidex {
namespace {

bool IsWebAddress(const QString& text) {
  const QUrl url(text);
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

// Host and port, then a path, query or fragment, on one line; no user name, no blanks.
bool IsBareAddress(const QString& text) {
  static const QRegularExpression bare(QStringLiteral(
      R"(^(?:[A-Za-z0-9-]+(?:\.[A-Za-z0-9-]+)+(?::[0-9]+)?|[A-Za-z0-9-]+:[0-9]+)(?:[/?#].*)?$)"));
  return bare.match(text).hasMatch();
}

}  // namespace

std::optional<QString> WatchedPageAddress(const QString& typed) {
  if (IsWebAddress(typed)) return typed;
  if (!IsBareAddress(typed)) return std::nullopt;
  QString completed = QStringLiteral("http://") + typed;
  if (!IsWebAddress(completed)) return std::nullopt;
  return completed;
}

}  // namespace tidex
