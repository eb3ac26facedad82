#include <gtest/gtest.h>
#include <algorithm>

#include <csignal>
#include <thread>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include "board_path.h"
#include "common/health/engine_watch.h"
#include "console_session.h"
#include "name_changes.h"

using namespace tidex;
using namespace tidex::e2e;
using namespace std::chrono_literals;

namespace {

const QString kConsoleCaption = ConsoleSession::consoleCaption();
// The program runs this many times faster than the wall clock (faketime): its minute between
// two reloads of the board takes 15 s.
constexpr int kClockRate = 4;
constexpr auto kReload = 60s / kClockRate;
// Slower where a box that closes after nine of the program's seconds is to be read.
constexpr int kBoxClockRate = 3;
constexpr auto kBoxReload = 60s / kBoxClockRate;

// A process of the browser engine started for the program, and its kind (its --type).
struct EngineHelper {
  qint64 pid = 0;
  QString kind;
};

QByteArray procFile(qint64 pid, const char* name) {
  return readFile(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
}

// The engine's processes below the program's process, whatever their depth.
std::vector<EngineHelper> engineHelpers(qint64 root) {
  QMap<qint64, qint64> parents;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool number = false;
    const qint64 pid = entry.toLongLong(&number);
    if (!number) continue;
    // "pid (name) state ppid …": the name may hold blanks, so count from its closing bracket.
    const QByteArray stat = procFile(pid, "stat");
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1) parents.insert(pid, fields[1].toLongLong());
  }
  const auto below = [&](qint64 pid) {
    for (qint64 p = parents.value(pid); p > 1; p = parents.value(p)) {
      if (p == root) return true;
    }
    return false;
  };
  std::vector<EngineHelper> helpers;
  for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
    // The engine rewrites its processes' titles: the arguments may be one blank-joined string.
    const QList<QByteArray> args = procFile(it.key(), "cmdline").replace('\0', ' ').split(' ');
    if (args.isEmpty() || !args.front().endsWith("QtWebEngineProcess") || !below(it.key())) {
      continue;
    }
    for (const QByteArray& arg : args) {
      if (arg.startsWith("--type=")) helpers.push_back({it.key(), QString::fromLatin1(arg.mid(7))});
    }
  }
  return helpers;
}

// The engine's notice, counting down.
bool countsDown(const QString& name) {
  static const QRegularExpression countdown(QStringLiteral("^[1-9] 秒$"));
  return name.startsWith(EngineWatch::kNotice) &&
         countdown.match(name.mid(EngineWatch::kNotice.size())).hasMatch();
}

QStringList kindsOf(const std::vector<EngineHelper>& helpers) {
  QStringList kinds;
  for (const EngineHelper& h : helpers) {
    if (!kinds.contains(h.kind)) kinds << h.kind;
  }
  kinds.sort();
  return kinds;
}

// The real program, sped up, with a wharf monitor for 1108 that has taken its baseline, and
// the console in front.
class WharfMonitorProgram {
 public:
  // model: the browser engine's process model, as TIDEX_PROCESS_MODEL; empty: the program's.
  explicit WharfMonitorProgram(const QString& model = {}, int rate = kClockRate) : rate_(rate) {
    if (!model.isEmpty()) {
      session_.program.setVariable(QStringLiteral("TIDEX_PROCESS_MODEL"), model);
    }
  }

  // Empty when all went well, else what did not.
  std::string open() {
    if (!session_.start(ProgramClock::faster(rate_))) return session_.failure();
    if (!session_.openWharfMonitor()) return session_.failure();
    return focusConsole() ? std::string() : "the console did not take the focus";
  }

  bool focusConsole() { return session_.focus(kConsoleCaption); }
  // Whether a box titled 訊息 shows the notice, counting down.
  bool boxShowsNotice() const {
    if (boxes().isEmpty()) return false;
    return session_.a11y
        .findWhere(session_.a11y.window(QStringLiteral("訊息")), "label", countsDown)
        .valid();
  }
  QStringList boxes() const { return session_.display.visibleWindows("訊息"); }
  int boxesOnScreen() const { return static_cast<int>(boxes().size()); }
  bool monitorInFront() const {
    return session_.display.focusedWindowTitle() == QStringLiteral("1108");
  }
  int boardRequests() const {
    return static_cast<int>(session_.sites.requestLog().filter(kBoardPath).size());
  }
  std::vector<EngineHelper> helpers() const { return engineHelpers(session_.program.pid()); }
  SitesRunner& sites() { return session_.sites; }
  ProgramRunner& program() { return session_.program; }
  const AccessibilityBus& a11y() const { return session_.a11y; }

 private:
  ConsoleSession session_;
  int rate_;
};

}  // namespace

// Helper processes of the browser engine die: its renderers, or every process it started.
// The monitor recovers by itself at its next reload, alerts on nothing meanwhile, and the next
// moved time on the board alerts as ever.
class EngineHelpersDie : public testing::TestWithParam<const char*> {};

TEST_P(EngineHelpersDie, TheWharfMonitorRecoversAtItsNextReloadAndAlertsOnTheNextMovedTime) {
  const QString kind = QString::fromLatin1(GetParam());
  WharfMonitorProgram run;
  const std::string failure = run.open();
  ASSERT_TRUE(failure.empty()) << failure << run.program().output().data();
  const std::vector<EngineHelper> before = run.helpers();
  // The network service and the GPU run inside the program; renderers start afresh rather
  // than from a zygote, which, lost, would leave the engine unable to start any.
  ASSERT_EQ(kindsOf(before), QStringList{"renderer"}) << kindsOf(before).join(' ').toStdString();

  int killed = 0;
  for (const EngineHelper& helper : before) {
    if (kind == "all" || helper.kind == kind) killed += ::kill(helper.pid, SIGKILL) == 0;
  }
  ASSERT_GT(killed, 0);

  // The next reload queries and searches the board again, and the page is compared: no alert.
  const int requests = run.boardRequests();
  ASSERT_TRUE(waitUntil([&] { return run.boardRequests() >= requests + 2; }, kReload + 20s))
      << "no reload after the " << kind.toStdString() << " died";
  std::this_thread::sleep_for(kReload / 3);
  EXPECT_FALSE(run.monitorInFront()) << "a false alert";
  EXPECT_TRUE(run.program().running());
  EXPECT_TRUE(kindsOf(run.helpers()).contains("renderer"));

  ASSERT_TRUE(run.focusConsole());
  ASSERT_TRUE(
      run.sites().control("/_control/board/time?wharf=1108&vessel=YM%20HARMONY&time=23:45"));
  EXPECT_TRUE(waitUntil([&] { return run.monitorInFront(); }, kReload + kReload / 12 + 15s))
      << "no alert for the moved time";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, EngineHelpersDie, testing::Values("renderer", "all"),
                         [](const testing::TestParamInfo<const char*>& instance) {
                           std::string name = instance.param;
                           std::erase(name, '-');
                           return name;
                         });

// With the engine's own process model, renderers are forked from a zygote; once the zygote and
// the renderers are gone the engine starts no renderer any more. The monitor notices within two
// reloads and the program says so once, in a box that closes itself, and alerts on nothing.
TEST(EngineWithoutRenderers, TheProgramSaysSoOnceAndGivesNoFalseAlert) {
  WharfMonitorProgram run(QStringLiteral("default"), kBoxClockRate);
  // What the box says is read from the bus as it changes: a box that closed before a test on a
  // busy machine looked at it still told the user.
  NameChanges notices(run.a11y(), EngineWatch::kNotice);
  ASSERT_TRUE(notices.started()) << "no listener on the accessibility bus (python3-dbus)";
  const std::string failure = run.open();
  ASSERT_TRUE(failure.empty()) << failure << run.program().output().data();
  const std::vector<EngineHelper> helpers = run.helpers();
  ASSERT_TRUE(kindsOf(helpers).contains("zygote")) << kindsOf(helpers).join(' ').toStdString();
  for (const EngineHelper& helper : helpers) ::kill(helper.pid, SIGKILL);

  ASSERT_TRUE(waitUntil([&] { return run.boxesOnScreen() > 0; }, 2 * kBoxReload + 10s))
      << "nothing told the user" << run.program().output().data();
  const QStringList first = run.boxes();
  EXPECT_TRUE(waitUntil(
      [&] {
        const QStringList names = notices.names();
        return std::any_of(names.begin(), names.end(), countsDown);
      },
      10s))
      << "not the notice: " << notices.names().join(" | ").toStdString();
  // Gone in two looks in a row: one window search on a busy machine may come back empty.
  EXPECT_TRUE(waitUntil([&] { return run.boxesOnScreen() == 0 && run.boxesOnScreen() == 0; }, 15s))
      << "the box stayed";
  // Another stalled reload and two more probes of the engine: no second box, neither on
  // screen nor a countdown begun again on the bus.
  const auto anotherNotice = [&] {
    const QStringList now = run.boxes();
    const bool another = std::any_of(now.begin(), now.end(),
                                     [&](const QString& box) { return !first.contains(box); });
    return (another && run.boxShowsNotice()) ||
           notices.names().count(EngineWatch::kNotice + QStringLiteral("9 秒")) > 1;
  };
  EXPECT_FALSE(waitUntil(anotherNotice, kBoxReload + 2s)) << "told again in the same outage";
  EXPECT_FALSE(run.monitorInFront()) << "a false alert";
  EXPECT_TRUE(run.program().running());
  EXPECT_GE(run.boardRequests(), 3) << "the monitor stopped trying";
}
