#include "test_pages.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tidex::sites {

void TestPages::put(const QByteArray& path, SiteResponse page, int delayMs) {
  sites_.addPage(path, std::move(page));
  delays_[path] = delayMs;
}

int TestPages::delayMs(const QByteArray& path) const {
  const auto it = delays_.find(path);
  return it == delays_.end() ? 0 : it->second;
}

QByteArray TestPages::receivedJsonLines() const {
  QByteArray lines;
  for (const ReceivedRequest& request : received_) {
    const QJsonObject line{{"method", QString::fromLatin1(request.method)},
                           {"target", QString::fromLatin1(request.target)},
                           {"body", QString::fromLatin1(request.body.toBase64())}};
    lines += QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
  }
  return lines;
}

}  // namespace tidex::sites
