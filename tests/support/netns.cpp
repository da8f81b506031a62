#include "netns.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace netns {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n > 0) {
      text.append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return text;
    }
  }
}

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

int WaitFor(pid_t pid, bool& exited) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      exited = false;
      return -1;
    }
  }
  exited = WIFEXITED(status);
  return exited ? WEXITSTATUS(status) : -1;
}

std::string Describe(const std::vector<std::string>& argv) {
  std::string text;
  for (const auto& arg : argv) text += (text.empty() ? "" : " ") + arg;
  return text;
}

std::string UniqueName(const std::string& tag) {
  static std::atomic<int> counter{0};
  return "cv-" + tag + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

void Require(const CommandResult& result, const std::vector<std::string>& argv) {
  if (!result.ok()) {
    throw std::runtime_error("`" + Describe(argv) + "` failed: " + result.output);
  }
}

[[noreturn]] void RunChild(const std::string& name, const std::function<std::string()>& body,
                           int resultFd) {
  const std::string path = "/run/netns/" + name;
  const int nsFd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (nsFd < 0 || setns(nsFd, CLONE_NEWNET) != 0) {
    WriteAll(resultFd, "cannot enter " + path + ": " + std::strerror(errno));
    _exit(3);
  }
  close(nsFd);
  try {
    WriteAll(resultFd, body());
  } catch (const std::exception& e) {
    WriteAll(resultFd, std::string("threw: ") + e.what());
    _exit(2);
  }
  _exit(0);
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv) {
  int out[2];
  if (argv.empty() || pipe2(out, O_CLOEXEC) != 0) return {};
  const pid_t pid = fork();
  if (pid < 0) {
    close(out[0]);
    close(out[1]);
    return {};
  }
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(out[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    const std::string why = "cannot run " + argv[0] + ": " + std::strerror(errno) + "\n";
    WriteAll(STDERR_FILENO, why);
    _exit(127);
  }
  close(out[1]);
  CommandResult result;
  result.output = ReadAll(out[0]);
  close(out[0]);
  bool exited = false;
  result.status = WaitFor(pid, exited);
  return result;
}

const std::string& UnavailableReason() {
  static const std::string reason = [] {
    if (geteuid() != 0) return std::string("network namespaces need root (running as uid ") +
                               std::to_string(geteuid()) + ")";
    try {
      Namespace probe("probe");
      return std::string();
    } catch (const std::exception& e) {
      return std::string("cannot make a network namespace: ") + e.what();
    }
  }();
  return reason;
}

Child::Child(pid_t pid, int resultPipe) : pid_(pid), resultPipe_(resultPipe) {}

Child::Child(Child&& other) noexcept : pid_(other.pid_), resultPipe_(other.resultPipe_) {
  other.pid_ = -1;
  other.resultPipe_ = -1;
}

Child::~Child() {
  if (pid_ > 0) Stop();
}

ChildResult Child::Wait() {
  ChildResult result;
  if (pid_ <= 0) return result;
  result.text = ReadAll(resultPipe_);
  close(resultPipe_);
  result.status = WaitFor(pid_, result.exited);
  pid_ = -1;
  resultPipe_ = -1;
  return result;
}

ChildResult Child::Stop() {
  if (pid_ > 0) kill(pid_, SIGTERM);
  return Wait();
}

Namespace::Namespace(const std::string& tag) : name_(UniqueName(tag)) {
  Require(RunCommand({"ip", "netns", "add", name_}), {"ip", "netns", "add", name_});
  try {
    Exec({"ip", "link", "set", "lo", "up"});
  } catch (...) {
    RunCommand({"ip", "netns", "del", name_});
    throw;
  }
}

Namespace::~Namespace() { RunCommand({"ip", "netns", "del", name_}); }

CommandResult Namespace::TryExec(const std::vector<std::string>& argv) const {
  std::vector<std::string> full = {"ip", "netns", "exec", name_};
  full.insert(full.end(), argv.begin(), argv.end());
  return RunCommand(full);
}

void Namespace::Exec(const std::vector<std::string>& argv) const {
  Require(TryExec(argv), argv);
}

void Namespace::Sysctl(const std::string& key, const std::string& value) const {
  Exec({"sysctl", "-q", "-w", key + "=" + value});
}

ChildResult Namespace::Run(const std::function<std::string()>& body) const {
  return Start(body).Wait();
}

Child Namespace::Start(const std::function<std::string()>& body) const {
  int result[2];
  if (pipe2(result, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) {
    close(result[0]);
    close(result[1]);
    throw std::runtime_error("fork failed");
  }
  if (pid == 0) {
    close(result[0]);
    RunChild(name_, body, result[1]);
  }
  close(result[1]);
  return Child(pid, result[0]);
}

Child Namespace::StartCommand(const std::vector<std::string>& argv) const {
  return Start([argv]() -> std::string {
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    throw std::runtime_error("cannot run " + argv[0] + ": " + std::strerror(errno));
  });
}

void Connect(const Namespace& a, const std::string& ifA, const std::string& cidrA,
             const Namespace& b, const std::string& ifB, const std::string& cidrB) {
  const std::vector<std::string> create = {"ip", "-n", a.name(), "link", "add", ifA, "type",
                                           "veth", "peer", "name", ifB, "netns", b.name()};
  Require(RunCommand(create), create);
  a.Exec({"ip", "addr", "add", cidrA, "dev", ifA});
  b.Exec({"ip", "addr", "add", cidrB, "dev", ifB});
  a.Exec({"ip", "link", "set", ifA, "up"});
  b.Exec({"ip", "link", "set", ifB, "up"});
}

}  // namespace netns
