#include "platform/desktop.h"

#include <cassert>

#include "platform/autostart_entry.h"
#include "platform/form.h"

namespace tidex {
namespace {
Desktop* installed = nullptr;
}

BoxResult closeResultOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return BoxResult::Ok;
    case BoxButtons::YesNo:  // no close command; the box answers No
      return BoxResult::No;
    case BoxButtons::YesNoCancel:
    case BoxButtons::CancelTryAgainContinue:
      break;
  }
  return BoxResult::Cancel;
}

Desktop& Desktop::current() {
  assert(installed && "no desktop back end installed");
  return *installed;
}

Desktop::Desktop() { installed = this; }

bool Desktop::startsWithSession() const { return AutostartEnabled(); }

bool Desktop::setStartsWithSession(bool on) { return SetAutostart(on, programFile()); }

Desktop::~Desktop() {
  if (installed == this) installed = nullptr;
}

void Desktop::loadWindow(std::unique_ptr<Form> window) {
  Form& form = *window;
  form.onInitialize();
  windows_.add(std::move(window));
  attach(form);
  form.markLoaded();
  form.onLoad();
}

std::unique_ptr<Form> Desktop::takeOut(Form& form) {
  std::unique_ptr<Form> owned = windows_.take(form);
  form.unloaded_ = true;
  form.visible_ = false;
  detach(form);
  form.peer_ = nullptr;
  return owned;
}

void Desktop::release(Form& form) {
  std::shared_ptr<Form> owned = takeOut(form);
  form.waits_.endWaits();
  // The window may be running one of its own handlers right now: destroy it afterwards.
  if (owned) retire(std::move(owned));
}

void Desktop::retire(std::shared_ptr<Form> window) {
  post([window] { window->waits_.endWaits(); });
}

std::size_t Desktop::suspendedHandlers() const {
  std::size_t count = freeWaits_.count();
  for (Form* window : windows_.all()) count += window->waits_.count();
  return count;
}

void Desktop::endWaitsOf(Form& form) { form.waits_.endWaits(); }

std::unique_ptr<Form> Desktop::discardWindow(Form& form) {
  auto owned = takeOut(form);
  form.waits_.endWaits();
  return owned;
}

void Desktop::destroyAllWindows() {
  for (Form* form : windows_.all()) {
    auto owned = takeOut(*form);
    form->waits_.endWaits();
  }
  freeWaits_.endWaits();
}

}  // namespace tidex
