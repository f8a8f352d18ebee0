#include "app/EndSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>

namespace {

int endPipe[2] = {-1, -1};

extern "C" void onEndSignal(int signal) {
  // Only what is safe in a signal handler: one write, errno kept.
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (endPipe[1] >= 0) {
    const ssize_t written = ::write(endPipe[1], &byte, 1);
    (void)written;
  }
  errno = saved;
}

std::function<void()>& exitRecorder() {
  static std::function<void()>* recorder = new std::function<void()>;  // lives past exit()
  return *recorder;
}

extern "C" void recordAtExit() {
  std::function<void()> recorder;
  recorder.swap(exitRecorder());
  if (recorder) recorder();
}

}  // namespace

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
  static const bool hooked = std::atexit(recordAtExit) == 0;
  (void)hooked;
  if (endPipe[0] < 0 && ::pipe2(endPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(endPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::readPipe);
  struct sigaction action {};
  action.sa_handler = onEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

EndSignals::~EndSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void EndSignals::readPipe() {
  unsigned char byte = 0;
  int last = 0;
  while (::read(endPipe[0], &byte, 1) == 1) last = byte;
  if (last == 0) return;
  received_ = last;
  emit endRequested(last);
}

void EndSignals::setExitRecorder(std::function<void()> recorder) {
  exitRecorder() = std::move(recorder);
}
