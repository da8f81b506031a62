#include "process/program_starter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "process/program_lookup.h"

namespace platform::real {
namespace {

// What the started program needs, prepared before fork: between fork and
// exec only async-signal-safe calls are allowed, so nothing allocates there.
struct ExecPlan {
  std::string path;
  std::vector<char*> argv;
  int highestDescriptor;
};

ExecPlan PlanFor(const std::string& path, const std::vector<std::string>& arguments) {
  ExecPlan plan{path, {}, 0};
  for (const std::string& argument : arguments) plan.argv.push_back(const_cast<char*>(argument.c_str()));
  plan.argv.push_back(nullptr);
  struct rlimit limit;
  plan.highestDescriptor = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
                                   limit.rlim_cur < 65536
                               ? static_cast<int>(limit.rlim_cur)
                               : 65536;
  return plan;
}

void ReportAndExit(int reportFd, int error) {
  while (::write(reportFd, &error, sizeof error) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

// Like a program Windows starts, this one inherits no open file but the
// standard streams. The report pipe is close-on-exec already.
void MarkDescriptorsCloseOnExec(const ExecPlan& plan) {
  if (::close_range(3, ~0u, CLOSE_RANGE_CLOEXEC) == 0) return;
  for (int fd = 3; fd < plan.highestDescriptor; ++fd) {
    int flags = ::fcntl(fd, F_GETFD);
    if (flags >= 0) ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
  }
}

// The caller's signal mask and an ignored SIGPIPE are its own business; the
// program starts with the defaults.
void ResetSignals() {
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
}

[[noreturn]] void RunProgram(const ExecPlan& plan, int reportFd) {
  ResetSignals();
  MarkDescriptorsCloseOnExec(plan);
  ::execv(plan.path.c_str(), plan.argv.data());
  ReportAndExit(reportFd, errno);
  ::_exit(127);
}

// The middle process only forks the program and exits, so the program is
// re-parented and the caller never has to reap it.
[[noreturn]] void RunMiddle(const ExecPlan& plan, int reportFd) {
  pid_t program = ::fork();
  if (program == 0) RunProgram(plan, reportFd);
  if (program < 0) ReportAndExit(reportFd, errno);
  ::_exit(0);
}

void ReapMiddle(pid_t middle) {
  // ECHILD: SIGCHLD is ignored and the system reaped it already.
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// End of file without a report means the exec succeeded (the pipe closed on
// exec); otherwise the report is the errno of the failed fork or exec.
std::optional<int> ReadReport(int reportFd) {
  int error = 0;
  std::size_t got = 0;
  while (got < sizeof error) {
    ssize_t n = ::read(reportFd, reinterpret_cast<char*>(&error) + got, sizeof error - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got == sizeof error) return error;
  return std::nullopt;
}

}  // namespace

UINT StartProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return kFileNotFound;
  const ProgramLocation location = LocateProgram(arguments[0]);
  if (location.path.empty()) return location.failure;
  const ExecPlan plan = PlanFor(location.path, arguments);

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return kOutOfResources;
  pid_t middle = ::fork();
  if (middle == 0) {
    ::close(report[0]);
    RunMiddle(plan, report[1]);
  }
  ::close(report[1]);
  if (middle < 0) {
    ::close(report[0]);
    return kOutOfResources;
  }
  ReapMiddle(middle);
  const std::optional<int> error = ReadReport(report[0]);
  ::close(report[0]);
  if (!error) return kStarted;
  return FailureForExecError(location.path, *error);
}

}  // namespace platform::real
