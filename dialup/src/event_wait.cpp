#include "dialup/event_wait.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <cerrno>

#include "dialup/link_record.h"

namespace dialup {

int OpenStopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  sigprocmask(SIG_BLOCK, &set, nullptr);
  return signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

WaitResult WaitReadable(int fd, int stopFd, std::int64_t deadlineNs) {
  for (;;) {
    int timeoutMs = -1;
    if (deadlineNs != 0) {
      std::int64_t left = deadlineNs - MonotonicNs();
      if (left <= 0) return WaitResult::TimedOut;
      timeoutMs = static_cast<int>((left + 999999) / 1000000);
    }
    pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}};
    int n = poll(fds, 2, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return WaitResult::Failed;
    if (fds[0].revents & POLLIN) return WaitResult::Stopped;
    if (fds[1].revents & POLLIN) return WaitResult::Ready;
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) return WaitResult::Failed;
  }
}

bool StopRequested(int stopFd) {
  pollfd fd{stopFd, POLLIN, 0};
  return poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);
}

}  // namespace dialup
