#include "platform/desktop.h"

#include <cassert>

#include "platform/form.h"
#include "platform/task.h"

namespace tidex {
namespace {
Desktop* installed = nullptr;
}

int closeResultOf(int style) {
  switch (style & 0xF) {
    case OkOnly:
      return BoxOk;
    case 4:  // Yes/No has no close command; the box answers No
      return BoxNo;
    default:
      return BoxCancel;
  }
}

Desktop& Desktop::current() {
  assert(installed && "no desktop back end installed");
  return *installed;
}

Desktop::Desktop() { installed = this; }

Desktop::~Desktop() {
  if (installed == this) installed = nullptr;
}

void Desktop::loadWindow(std::unique_ptr<Form> window) {
  Form& form = *window;
  form.Form_Initialize();
  windows_.add(std::move(window));
  attach(form);
  form.markLoaded();
  form.Form_Load();
}

void Desktop::release(Form& form) {
  std::shared_ptr<Form> owned = windows_.take(form);
  detach(form);
  form.setPeer(nullptr);
  // The window may be running one of its own handlers right now: destroy it afterwards.
  if (owned) retire(std::move(owned));
}

void Desktop::retire(std::shared_ptr<Form> window) {
  post([window] { window->destroyTasks(); });
}

void Desktop::destroyHandlersOf(Form& form) { form.destroyTasks(); }

std::unique_ptr<Form> Desktop::discardWindow(Form& form) {
  auto owned = windows_.take(form);
  form.unloaded_ = true;
  form.visible_ = false;
  detach(form);
  form.setPeer(nullptr);
  return owned;
}

void Desktop::destroyAllWindows() {
  for (Form* form : windows_.all()) {
    auto owned = windows_.take(*form);
    form->unloaded_ = true;
    detach(*form);
    form->setPeer(nullptr);
    form->destroyTasks();
  }
  destroyFreeHandlers();
}

}  // namespace tidex
