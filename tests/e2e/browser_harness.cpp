#include "browser_harness.h"

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/desktop.h"
#include "platform/qt/qt_desktop.h"

namespace tidex::e2e {
namespace {

struct Shared {
  QTemporaryDir home;
  std::unique_ptr<QApplication> app;
  std::unique_ptr<QtDesktop> desktop;
};

std::unique_ptr<Shared>& shared() {
  static std::unique_ptr<Shared> instance;
  return instance;
}

class TearDownDesktop final : public ::testing::Environment {
 public:
  void TearDown() override {
    auto& s = shared();
    if (!s) return;
    s->desktop.reset();
    s->app.reset();
    s.reset();
  }
};

[[maybe_unused]] const auto* const registered =
    ::testing::AddGlobalTestEnvironment(new TearDownDesktop);

}  // namespace

void ensureBrowserDesktop() {
  auto& s = shared();
  if (s) return;
  s = std::make_unique<Shared>();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--process-per-site --disable-gpu");
  qputenv("TIDEX_HOME", s->home.path().toUtf8());
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  static int argc = 1;
  static char name[] = "tidex_browser_tests";
  static char* argv[] = {name, nullptr};
  s->app = std::make_unique<QApplication>(argc, argv);
  s->desktop = std::make_unique<QtDesktop>();
}

QString browserDesktopHome() {
  ensureBrowserDesktop();
  return shared()->home.path();
}

bool spinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (condition()) loop.quit();
  });
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  poll.start(5);
  if (!condition()) loop.exec();
  return condition();
}

void spinFor(std::chrono::milliseconds time) {
  spinUntil([] { return false; }, time);
}

void BrowserPageTest::SetUp() { form_ = &Desktop::current().load<BrowserForm>(); }

void BrowserPageTest::TearDown() {
  form_->Unload();
  spinFor(std::chrono::milliseconds(50));
}

bool BrowserPageTest::open(const QString& url) {
  const int before = form_->completed;
  browser().Navigate2(url);
  return spinUntil([&] { return form_->completed > before && !browser().Busy(); },
                   std::chrono::seconds(30));
}

}  // namespace tidex::e2e
