#include <gtest/gtest.h>

#include "teardown_checks.h"

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_web.h"

void FailOnLeftoversOfDesktops() {
  for (const auto& page : tidex::SimWeb::takeStalledAtTeardown()) {
    ADD_FAILURE() << qPrintable(page.browser) << " never completed " << qPrintable(page.url);
  }
  for (const QString& text : tidex::SimDesktop::takeBoxesOpenAtTeardown()) {
    ADD_FAILURE() << "a message box nobody answered: " << qPrintable(text);
  }
}

namespace {

// Test-end listeners run before the result printer's, while the test is still the current
// one: a leftover fails that test and the others go on.
class LeftoversListener final : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override { FailOnLeftoversOfDesktops(); }
};

const bool installed = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new LeftoversListener);
  return true;
}();

}  // namespace
