#include "platform/qt/qt_web_document.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

#include "platform/qt/qt_web_browser_peer.h"

namespace tidex {
namespace {

class QtDocumentPeer final : public DocumentPeer {
 public:
  QtDocumentPeer(QtWebBrowserPeer& browser, quint64 load, std::vector<bool> navigates)
      : browser_(&browser), load_(load), navigates_(std::move(navigates)) {}

  void setValue(int index, const QString& value) override {
    if (browser_) browser_->setElementValue(load_, index, value);
  }
  void click(int index) override {
    const bool navigates = index >= 0 && index < static_cast<int>(navigates_.size()) &&
                           navigates_[static_cast<std::size_t>(index)];
    if (browser_) browser_->clickElement(load_, index, navigates);
  }
  void execScript(const QString& script) override {
    if (browser_) browser_->runPageScript(load_, script);
  }

 private:
  QPointer<QtWebBrowserPeer> browser_;
  quint64 load_;
  std::vector<bool> navigates_;
};

}  // namespace

QString withCrLf(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text;
}

PageSnapshot readSnapshot(const QVariant& result) {
  PageSnapshot snapshot;
  if (result.typeId() != QMetaType::QString) return snapshot;
  const QJsonObject root = QJsonDocument::fromJson(result.toString().toUtf8()).object();
  const QJsonArray elements = root.value(QLatin1String("e")).toArray();
  snapshot.elements.reserve(static_cast<std::size_t>(elements.size()));
  snapshot.navigates.reserve(static_cast<std::size_t>(elements.size()));
  for (const QJsonValue& item : elements) {
    const QJsonArray fields = item.toArray();
    ElementData element;
    element.tagName = fields.at(0).toString();
    element.name = fields.at(1).toString();
    element.value = fields.at(2).toString();
    element.type = fields.at(3).toString();
    element.src = fields.at(4).toString();
    element.isImage = element.tagName == QLatin1String("IMG");
    element.text = fields.at(6).toString().simplified();
    snapshot.elements.push_back(std::move(element));
    snapshot.navigates.push_back(fields.at(5).toInt() != 0);
  }
  snapshot.text = withCrLf(root.value(QLatin1String("t")).toString());
  snapshot.url = root.value(QLatin1String("u")).toString();
  return snapshot;
}

std::shared_ptr<HtmlDocument> makeDocument(PageSnapshot snapshot, const QString& url,
                                           QtWebBrowserPeer& browser, quint64 load) {
  auto peer = std::make_unique<QtDocumentPeer>(browser, load, std::move(snapshot.navigates));
  return std::make_shared<HtmlDocument>(url, std::move(snapshot.elements), std::move(snapshot.text),
                                        std::move(peer));
}

}  // namespace tidex
