#include "platform/html_document.h"

namespace tidex {

bool HtmlElement::valid() const { return data() != nullptr; }

const ElementData* HtmlElement::data() const {
  return document_ ? document_->element(index_) : nullptr;
}

QString HtmlElement::tagName() const { return data() ? data()->tagName : QString(); }
QString HtmlElement::Name() const { return data() ? data()->name : QString(); }
QString HtmlElement::Value() const { return data() ? data()->value : QString(); }
QString HtmlElement::Type() const { return data() ? data()->type : QString(); }
QString HtmlElement::src() const { return data() ? data()->src : QString(); }

QString HtmlElement::innerText() const {
  return data() && index_ == 0 ? document_->text() : QString();
}

void HtmlElement::setValue(const QString& value) {
  if (data()) document_->setValue(index_, value);
}

void HtmlElement::Click() {
  if (data()) document_->click(index_);
}

HtmlElement ElementCollection::item(int i) const {
  if (i < 0 || i >= length()) return {};
  return HtmlElement(document_, indexes_[i]);
}

HtmlDocument::HtmlDocument(QString url, std::vector<ElementData> elements, QString text,
                           std::unique_ptr<DocumentPeer> peer)
    : url_(std::move(url)),
      elements_(std::move(elements)),
      text_(std::move(text)),
      peer_(std::move(peer)) {}

ElementCollection HtmlDocument::All() {
  std::vector<int> all(elements_.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  return ElementCollection(shared_from_this(), std::move(all));
}

ElementCollection HtmlDocument::Images() {
  std::vector<int> images;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    if (elements_[i].isImage) images.push_back(static_cast<int>(i));
  }
  return ElementCollection(shared_from_this(), std::move(images));
}

HtmlElement HtmlDocument::documentElement() {
  return HtmlElement(shared_from_this(), elements_.empty() ? -1 : 0);
}

void HtmlDocument::execScript(const QString& script) {
  if (peer_) peer_->execScript(script);
}

const ElementData* HtmlDocument::element(int index) const {
  if (index < 0 || index >= static_cast<int>(elements_.size())) return nullptr;
  return &elements_[index];
}

void HtmlDocument::setValue(int index, const QString& value) {
  if (index < 0 || index >= static_cast<int>(elements_.size())) return;
  elements_[index].value = value;
  if (peer_) peer_->setValue(index, value);
}

void HtmlDocument::click(int index) {
  if (peer_ && element(index)) peer_->click(index);
}

}  // namespace tidex
