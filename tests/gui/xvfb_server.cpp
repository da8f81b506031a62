#include "xvfb_server.h"

#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::guitest {

bool XvfbServer::Start(std::string& why, int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) {
    why = "pipe failed";
    return false;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  const std::string displayFd = std::to_string(fds[1]);
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    // The server goes with the test process, even when a time-out kills it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The server's own chatter (font path warnings) is noise in test logs.
    freopen("/dev/null", "w", stderr);
    freopen("/dev/null", "w", stdout);  // nor may it hold the test's output pipe open
    execlp("Xvfb", "Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", screen.c_str(), "-dpi",
           "96", "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    why = "fork failed";
    return false;
  }
  // The server writes its display number once it is ready for clients.
  std::string number;
  pollfd waitFor{fds[0], POLLIN, 0};
  while (poll(&waitFor, 1, 15000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    why = "Xvfb did not start (is the xvfb package installed?)";
    Stop();
    return false;
  }
  display_ = ":" + number;
  return true;
}

void XvfbServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace corvane::guitest
