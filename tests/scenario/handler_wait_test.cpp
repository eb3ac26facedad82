#include <gtest/gtest.h>

#include "test_printers.h"

#include "platform/message_box.h"
#include "platform/task.h"
#include "platform/timer.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

// A window whose handler waits for a message box while its timer keeps ticking.
class Asker final : public Form {
 public:
  Asker() : Form("Asker") {
    tickTimer.onTimer = [this] { ++ticks; };
  }

  Timer tickTimer{*this, "tickTimer", 1s, true};
  int ticks = 0;
  std::vector<BoxResult> results;

  Task Ask(QString text, BoxStyle style) {
    const BoxResult result = co_await MessageBox(text, style, "訊息");
    results.push_back(result);
  }
};

}  // namespace

TEST(HandlerWait, AnswerResumesTheHandlerWhileTimersKeepRunning) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("是否重新開船名？ ", BoxButtons::YesNoCancel);
  desk.answerAfter(3500ms, BoxResult::Yes);

  desk.advance(5s);

  EXPECT_EQ(w.results, std::vector<BoxResult>{BoxResult::Yes});
  EXPECT_EQ(w.ticks, 5);
  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_EQ(desk.boxes()[0].title, "訊息");
  EXPECT_EQ(desk.boxes()[0].texts.front(), "是否重新開船名？ ");
  EXPECT_FALSE(desk.boxes()[0].open);
}

TEST(HandlerWait, EachWaitingHandlerResumesOnItsOwnBox) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("first ", BoxButtons::Ok);
  w.Ask("second ", BoxButtons::YesNoCancel);

  desk.answer(BoxResult::No);  // the newest box
  EXPECT_EQ(w.results, std::vector<BoxResult>{BoxResult::No});
  desk.answer(BoxResult::Ok);
  EXPECT_EQ(w.results, (std::vector<BoxResult>{BoxResult::No, BoxResult::Ok}));
}

TEST(HandlerWait, UnloadingTheWindowEndsItsWaitingHandlerAndClosesTheBox) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("q ", BoxButtons::Ok);
  ASSERT_EQ(desk.openBoxes().size(), 1u);

  w.Unload();
  desk.advance(1s);

  EXPECT_TRUE(desk.openBoxes().empty());
  EXPECT_EQ(desk.windows().count(), 0u);
  desk.answer(BoxResult::Ok);  // nothing left to answer, nothing resumes
  desk.advance(1s);
}

TEST(HandlerWait, ClosingABoxGivesOkOrCancelByItsButtons) {
  struct Case {
    BoxButtons buttons;
    BoxResult result;
  };
  for (Case c :
       {Case{BoxButtons::Ok, BoxResult::Ok}, Case{BoxButtons::YesNoCancel, BoxResult::Cancel},
        Case{BoxButtons::CancelTryAgainContinue, BoxResult::Cancel}}) {
    SimPortDesktop desk;
    auto& w = desk.start<Asker>();
    std::unique_ptr<TimerHandle> closer;
    [](Asker& asker, BoxButtons buttons, std::unique_ptr<TimerHandle>& boxCloser) -> Task {
      const BoxResult r = co_await MessageBox("q ", buttons, "訊息", [&](MessageBoxPeer& box) {
        boxCloser = Desktop::current().startTimer(9s, [&box] { box.close(); });
      });
      asker.results.push_back(r);
    }(w, c.buttons, closer);

    desk.advance(9s);
    EXPECT_EQ(w.results, std::vector<BoxResult>{c.result}) << static_cast<int>(c.buttons);
  }
}
