#include "platform/qt/qt_session_end.h"

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>

#include "platform/form.h"

namespace tidex {
namespace {

// The write end is used by the signal handler, the read end by the notifier.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (::write(signalPipe[0], &byte, 1) < 0) {
    // Nothing to do: a full pipe already has a wake-up pending.
  }
  errno = saved;
}

bool installHandlers() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return false;
  ::fcntl(signalPipe[0], F_SETFL, ::fcntl(signalPipe[0], F_GETFL) | O_NONBLOCK);
  ::fcntl(signalPipe[1], F_SETFL, ::fcntl(signalPipe[1], F_GETFL) | O_NONBLOCK);
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
  return true;
}

void restoreDefaults() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

QtSessionEnd::QtSessionEnd(std::function<void(UnloadReason reason)> ending)
    : ending_(std::move(ending)) {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { ending_(UnloadReason::SessionEnd); });
  }
  if (!installHandlers()) return;
  notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QtSessionEnd::signalled);
}

QtSessionEnd::~QtSessionEnd() {
  if (!notifier_) return;
  restoreDefaults();
  delete notifier_;
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

void QtSessionEnd::signalled() {
  char bytes[64];
  while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
  }
  ending_(UnloadReason::Terminated);
}

}  // namespace tidex
