#include <gtest/gtest.h>

#include "test_printers.h"

#include "common/alerting/timed_box.h"
#include "platform/task.h"
#include "platform/timer.h"
#include "sim_port_desktop.h"

using namespace tidex;
using namespace std::chrono_literals;

namespace {

class Monitor final : public Form {
 public:
  Monitor() : Form("Monitor") {
    tickTimer.onTimer = [this] { ++ticks; };
  }
  Timer tickTimer{*this, "tickTimer", 1s, true};
  int ticks = 0;
  std::vector<BoxResult> answers;

  Task AskReopen(QString prefix, BoxStyle style) {
    answers.push_back(co_await ShowTimedBox(prefix, style));
  }
};

}  // namespace

TEST(TimedBox, UnansweredBoxesCloseAfterNineSecondsWithOkOrCancel) {
  struct Case {
    BoxButtons buttons;
    BoxResult result;
  };
  for (Case c :
       {Case{BoxButtons::Ok, BoxResult::Ok}, Case{BoxButtons::YesNoCancel, BoxResult::Cancel}}) {
    SimPortDesktop desk;
    auto& w = desk.start<Monitor>();
    w.AskReopen("是否重新開船名？ ", c.buttons);

    desk.advance(8999ms);
    EXPECT_TRUE(w.answers.empty()) << "closed before nine seconds";
    desk.advance(1ms);
    EXPECT_EQ(w.answers, std::vector<BoxResult>{c.result});
    EXPECT_EQ(w.ticks, 9) << "timers stopped while the box was open";
  }
}

TEST(TimedBox, ShowsThePrefixWithNineDownToOneSeconds) {
  SimPortDesktop desk;
  auto& w = desk.start<Monitor>();
  w.AskReopen("此碼頭執行中，請查詢運作中的海掛！ ", BoxButtons::Ok);
  desk.advance(20s);

  ASSERT_EQ(desk.boxes().size(), 1u);
  const SimBox& box = desk.boxes()[0];
  EXPECT_EQ(box.title, "訊息");
  QStringList expected;
  for (int s = 9; s >= 1; --s)
    expected << QString("此碼頭執行中，請查詢運作中的海掛！ %1 秒").arg(s);
  EXPECT_EQ(box.texts, expected);
}

TEST(TimedBox, AnEarlyAnswerReturnsAtOnceAndLaterTicksChangeNothing) {
  SimPortDesktop desk;
  auto& w = desk.start<Monitor>();
  w.AskReopen("是否重新開URL？ ", BoxButtons::YesNoCancel);
  desk.answerAfter(4500ms, BoxResult::Yes);

  desk.advance(4500ms);
  EXPECT_EQ(w.answers, std::vector<BoxResult>{BoxResult::Yes});
  const auto shown = desk.boxes()[0].texts;
  desk.advance(10s);
  EXPECT_EQ(desk.boxes()[0].texts, shown);
  EXPECT_EQ(shown.back(), "是否重新開URL？ 5 秒");
}

TEST(TimedBox, TwoBoxesOpenAtOnceBothCountDownAndCloseByThemselves) {
  SimPortDesktop desk;
  auto& w = desk.start<Monitor>();
  w.AskReopen("是否重新開船名？ ", BoxButtons::YesNoCancel);
  desk.advance(3s);
  w.AskReopen("是否重新開URL？ ", BoxButtons::YesNoCancel);

  desk.advance(6s);
  EXPECT_EQ(w.answers, std::vector<BoxResult>{BoxResult::Cancel});
  desk.advance(3s);
  EXPECT_EQ(w.answers, (std::vector<BoxResult>{BoxResult::Cancel, BoxResult::Cancel}));
  EXPECT_TRUE(desk.openBoxes().empty());
  EXPECT_EQ(desk.boxes()[1].texts.size(), 9);
}

TEST(TimedBox, AWindowUnloadedWhileAskingClosesItsBoxAndNeverResumes) {
  SimPortDesktop desk;
  auto& w = desk.start<Monitor>();
  w.AskReopen("是否重新開船名？ ", BoxButtons::YesNoCancel);
  desk.advance(2s);
  w.Unload();
  desk.advance(10s);
  EXPECT_TRUE(desk.openBoxes().empty());
  EXPECT_EQ(desk.boxes()[0].texts.size(), 3);
}
