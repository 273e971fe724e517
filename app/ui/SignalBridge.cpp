#include "SignalBridge.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace ui {

namespace {
int gPipe[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int sig) {
  int saved = errno;
  unsigned char byte = static_cast<unsigned char>(sig);
  if (gPipe[1] >= 0) {
    ssize_t ignored = write(gPipe[1], &byte, 1);
    (void)ignored;
  }
  errno = saved;
}
} // namespace

SignalBridge::SignalBridge(QObject *parent) : QObject(parent) {
  if (gPipe[0] >= 0) return; // one bridge per process
  if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    gPipe[0] = gPipe[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::Drain);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kSignals)
    sigaction(sig, &action, nullptr);
}

SignalBridge::~SignalBridge() {
  if (!notifier_) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int sig : kSignals)
    sigaction(sig, &action, nullptr);
  delete notifier_;
  close(gPipe[0]);
  close(gPipe[1]);
  gPipe[0] = gPipe[1] = -1;
}

void SignalBridge::Drain() {
  unsigned char buf[16];
  ssize_t n;
  bool got = false;
  while ((n = read(gPipe[0], buf, sizeof buf)) > 0) {
    last_ = buf[n - 1];
    got = true;
  }
  if (got) emit Terminate(last_);
}

} // namespace ui
