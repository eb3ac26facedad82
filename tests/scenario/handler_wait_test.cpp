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
    Timer1.onTimer = [this] { ++ticks; };
  }

  Timer Timer1{*this, "Timer1", 1000, true};
  int ticks = 0;
  std::vector<int> results;

  Task Ask(QString text, int style) {
    const int result = co_await MessageBox(text, style, "訊息");
    results.push_back(result);
  }
};

}  // namespace

TEST(HandlerWait, AnswerResumesTheHandlerWhileTimersKeepRunning) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("是否重新開船名？ ", YesNoCancel);
  desk.answerAfter(3500ms, BoxYes);

  desk.advance(5s);

  EXPECT_EQ(w.results, std::vector<int>{BoxYes});
  EXPECT_EQ(w.ticks, 5);
  ASSERT_EQ(desk.boxes().size(), 1u);
  EXPECT_EQ(desk.boxes()[0].title, "訊息");
  EXPECT_EQ(desk.boxes()[0].texts.front(), "是否重新開船名？ ");
  EXPECT_FALSE(desk.boxes()[0].open);
}

TEST(HandlerWait, EachWaitingHandlerResumesOnItsOwnBox) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("first ", OkOnly);
  w.Ask("second ", YesNoCancel);

  desk.answer(BoxNo);  // the newest box
  EXPECT_EQ(w.results, std::vector<int>{BoxNo});
  desk.answer(BoxOk);
  EXPECT_EQ(w.results, (std::vector<int>{BoxNo, BoxOk}));
}

TEST(HandlerWait, UnloadingTheWindowEndsItsWaitingHandlerAndClosesTheBox) {
  SimPortDesktop desk;
  auto& w = desk.start<Asker>();
  w.Ask("q ", OkOnly);
  ASSERT_EQ(desk.openBoxes().size(), 1u);

  w.Unload();
  desk.advance(1s);

  EXPECT_TRUE(desk.openBoxes().empty());
  EXPECT_EQ(desk.windows().count(), 0u);
  desk.answer(BoxOk);  // nothing left to answer, nothing resumes
  desk.advance(1s);
}

TEST(HandlerWait, ClosingABoxGivesOkOrCancelByItsButtons) {
  struct Case {
    int style;
    int result;
  };
  for (Case c : {Case{OkOnly, BoxOk}, Case{YesNoCancel, BoxCancel},
                 Case{CancelTryAgainContinue, BoxCancel}}) {
    SimPortDesktop desk;
    auto& w = desk.start<Asker>();
    std::unique_ptr<TimerHandle> closer;
    [](Asker& asker, int style, std::unique_ptr<TimerHandle>& boxCloser) -> Task {
      const int r = co_await MessageBox("q ", style, "訊息", [&](MessageBoxPeer& box) {
        boxCloser = Desktop::current().startTimer(9s, [&box] { box.close(); });
      });
      asker.results.push_back(r);
    }(w, c.style, closer);

    desk.advance(9s);
    EXPECT_EQ(w.results, std::vector<int>{c.result}) << c.style;
  }
}
