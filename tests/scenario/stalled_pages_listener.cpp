#include <gtest/gtest.h>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_web.h"

namespace {

// Fails the test in which a simulated desktop went away with a page that never completed or
// with a message box that nobody answered.
class StalledPagesListener final : public testing::EmptyTestEventListener {
  void OnTestPartResult(const testing::TestPartResult&) override {}
  void OnTestEnd(const testing::TestInfo& info) override {
    for (const auto& page : tidex::SimWeb::takeStalledAtTeardown()) {
      std::fprintf(stderr, "%s: %s never completed %s\n", info.name(), qPrintable(page.browser),
                   qPrintable(page.url));
      stalled = true;
    }
    for (const QString& text : tidex::SimDesktop::takeBoxesOpenAtTeardown()) {
      std::fprintf(stderr, "%s: a message box nobody answered: %s\n", info.name(),
                   qPrintable(text));
      stalled = true;
    }
  }
  void OnTestProgramEnd(const testing::UnitTest&) override {
    if (stalled) std::_Exit(1);
  }
  bool stalled = false;
};

const bool installed = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new StalledPagesListener);
  return true;
}();

}  // namespace
