#pragma once

#include <memory>
#include <vector>

#include <QString>

namespace tidex {

class Form;

// The open windows of the program in creation order, hidden ones included.
class WindowRegistry {
 public:
  std::vector<Form*> all() const;
  std::size_t count() const { return windows_.size(); }
  // The first window whose caption is exactly this text, or null.
  Form* findByCaption(const QString& caption) const;

  void add(std::unique_ptr<Form> window);
  // Takes a window out of the registry; its owner destroys it later.
  std::unique_ptr<Form> take(Form& window);

 private:
  std::vector<std::unique_ptr<Form>> windows_;
};

}  // namespace tidex
