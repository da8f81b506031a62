#include "pty_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace corvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void ExecInChild(const PtyLaunch& launch) {
  if (!launch.directory.empty() && chdir(launch.directory.c_str()) != 0) _exit(126);
  std::vector<std::string> environment = {"PATH=/usr/bin:/bin", "HOME=" + launch.directory};
  environment.insert(environment.end(), launch.environment.begin(), launch.environment.end());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> arguments = {launch.program};
  arguments.insert(arguments.end(), launch.arguments.begin(), launch.arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  execve(launch.program.c_str(), argv.data(), envp.data());
  _exit(127);
}

}  // namespace

PtyProgram::PtyProgram(const PtyLaunch& launch) : screen_(launch.rows, launch.cols) {
  winsize size{};
  size.ws_row = static_cast<unsigned short>(launch.rows);
  size.ws_col = static_cast<unsigned short>(launch.cols);
  // forkpty makes the slave the child's controlling terminal and its
  // standard input, output and error.
  child_ = forkpty(&master_, nullptr, nullptr, &size);
  if (child_ < 0) throw std::runtime_error("forkpty failed");
  if (child_ == 0) ExecInChild(launch);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyProgram::~PtyProgram() {
  if (!exited_ && child_ > 0) {
    kill(child_, SIGKILL);
    waitpid(child_, &status_, 0);
  }
  if (master_ >= 0) close(master_);
}

void PtyProgram::Type(const std::string& keys) {
  std::size_t sent = 0;
  while (sent < keys.size()) {
    ssize_t n = write(master_, keys.data() + sent, keys.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else {
      Pump(10);
    }
  }
}

bool PtyProgram::Pump(int timeoutMs) {
  if (master_ < 0) return false;
  pollfd fd{master_, POLLIN, 0};
  if (poll(&fd, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  bool got = false;
  while (true) {
    ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    got = true;
    output_.append(buffer, static_cast<std::size_t>(n));
    screen_.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  return got;
}

// curses sends one screen update in several writes; a test looks at the
// screen only once the program has stopped writing for a moment, so it
// never judges a half-drawn window.
void PtyProgram::Settle(Clock::time_point deadline) {
  while (Clock::now() < deadline && Pump(kQuietMs)) {
  }
}

bool PtyProgram::WaitUntil(const std::function<bool(const VtScreen&)>& done, std::chrono::milliseconds limit) {
  Clock::time_point deadline = Clock::now() + limit;
  while (true) {
    Pump(20);
    if (done(screen_)) {
      Settle(deadline);
      if (done(screen_)) return true;
    }
    if (Clock::now() >= deadline) return false;
  }
}

bool PtyProgram::WaitForText(const std::string& text, std::chrono::milliseconds limit) {
  return WaitUntil([&text](const VtScreen& screen) { return screen.Contains(text); }, limit);
}

bool PtyProgram::WaitForNoText(const std::string& text, std::chrono::milliseconds limit) {
  return WaitUntil([&text](const VtScreen& screen) { return !screen.Contains(text); }, limit);
}

std::optional<int> PtyProgram::WaitForExit(std::chrono::milliseconds limit) {
  Clock::time_point deadline = Clock::now() + limit;
  while (!exited_) {
    Pump(20);
    if (waitpid(child_, &status_, WNOHANG) == child_) {
      exited_ = true;
      Pump(0);
      break;
    }
    if (Clock::now() >= deadline) return std::nullopt;
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  return 128 + WTERMSIG(status_);
}

bool PtyProgram::Killed(int* signal) const {
  if (!exited_ || !WIFSIGNALED(status_)) return false;
  if (signal) *signal = WTERMSIG(status_);
  return true;
}

void PtyProgram::Resize(int rows, int cols) {
  winsize size{};
  size.ws_row = static_cast<unsigned short>(rows);
  size.ws_col = static_cast<unsigned short>(cols);
  ioctl(master_, TIOCSWINSZ, &size);  // the kernel signals the foreground group
  screen_.Resize(rows, cols);
}

void PtyProgram::CloseTerminal() {
  close(master_);
  master_ = -1;
}

}  // namespace corvane::testing
