#pragma once

#include <memory>
#include <vector>

#include <QString>

namespace tidex {

class HtmlDocument;

// What a document is made of, as the back end read it: its elements in document order.
struct ElementData {
  QString tagName;  // upper case, as the browser reports it ("INPUT")
  QString name;
  QString value;
  QString type;  // lower case for inputs ("submit", "text")
  QString src;
  bool isImage = false;
  QString text;  // the rendered text of a heading cell (TH); empty for other elements
};

// The back end's live side of a loaded document: element writes and clicks go through here,
// in the order the handler makes them.
class DocumentPeer {
 public:
  virtual ~DocumentPeer() = default;
  virtual void setValue(int index, const QString& value) = 0;
  virtual void click(int index) = 0;
  // Runs a script of the program's own (never one built from page or user text).
  virtual void execScript(const QString& script) = 0;
};

class HtmlElement {
 public:
  HtmlElement() = default;
  HtmlElement(std::shared_ptr<HtmlDocument> document, int index)
      : document_(std::move(document)), index_(index) {}

  bool valid() const;
  QString tagName() const;
  QString Name() const;
  QString Value() const;
  void setValue(const QString& value);
  QString Type() const;
  QString src() const;
  // The rendered text; for the root element, the text of the whole page.
  QString innerText() const;
  void Click();

 private:
  const ElementData* data() const;
  std::shared_ptr<HtmlDocument> document_;
  int index_ = -1;
};

class ElementCollection {
 public:
  ElementCollection(std::shared_ptr<HtmlDocument> document, std::vector<int> indexes)
      : document_(std::move(document)), indexes_(std::move(indexes)) {}
  int length() const { return static_cast<int>(indexes_.size()); }
  // An element past the end is invalid: its reads give empty texts, its writes do nothing.
  HtmlElement item(int i) const;

 private:
  std::shared_ptr<HtmlDocument> document_;
  std::vector<int> indexes_;
};

// A document as window code sees it: every read is immediate, from what the back end read
// when the page completed, kept up to date with the handler's own writes.
class HtmlDocument : public std::enable_shared_from_this<HtmlDocument> {
 public:
  HtmlDocument(QString url, std::vector<ElementData> elements, QString text,
               std::unique_ptr<DocumentPeer> peer);

  const QString& url() const { return url_; }
  ElementCollection All();
  ElementCollection Images();
  HtmlElement documentElement();
  // parentWindow().execScript(script)
  void execScript(const QString& script);

  int elementCount() const { return static_cast<int>(elements_.size()); }
  const ElementData* element(int index) const;
  const QString& text() const { return text_; }
  void setValue(int index, const QString& value);
  void click(int index);

 private:
  QString url_;
  std::vector<ElementData> elements_;
  QString text_;
  std::unique_ptr<DocumentPeer> peer_;
};

}  // namespace tidex
