#include "platform/window_registry.h"

#include <algorithm>

#include "platform/form.h"

namespace tidex {

std::vector<Form*> WindowRegistry::all() const {
  std::vector<Form*> out;
  out.reserve(windows_.size());
  for (const auto& w : windows_) out.push_back(w.get());
  return out;
}

Form* WindowRegistry::findByCaption(const QString& caption) const {
  for (const auto& w : windows_) {
    if (w->Caption() == caption) return w.get();
  }
  return nullptr;
}

void WindowRegistry::add(std::unique_ptr<Form> window) { windows_.push_back(std::move(window)); }

std::unique_ptr<Form> WindowRegistry::take(Form& window) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const auto& w) { return w.get() == &window; });
  if (it == windows_.end()) return nullptr;
  auto out = std::move(*it);
  windows_.erase(it);
  return out;
}

}  // namespace tidex
