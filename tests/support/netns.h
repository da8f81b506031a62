// Network namespaces for tests: make them, join them with veth pairs, run a
// command or a function inside one, and remove them again. Everything here
// needs root (CAP_SYS_ADMIN and CAP_NET_ADMIN) and the `ip` tool.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace netns {

// Exit status (-1 when it could not run or was killed) and what the command
// wrote on stdout and stderr together. Commands are run without a shell.
struct CommandResult {
  int status = -1;
  std::string output;
  bool ok() const { return status == 0; }
};
CommandResult RunCommand(const std::vector<std::string>& argv);

// Why network namespaces cannot be made on this machine, or "" when they can.
// Tries once per process by making and removing a namespace.
const std::string& UnavailableReason();

// How a function run in a child process ended: `exited` with `status`, and
// the text it returned (or the message of what it threw).
struct ChildResult {
  bool exited = false;
  int status = -1;
  std::string text;
  bool ok() const { return exited && status == 0; }
};

// A child process running inside a namespace, started by Namespace::Start.
// Destroying it unwaited kills it.
class Child {
 public:
  Child(pid_t pid, int resultPipe);
  Child(Child&& other) noexcept;
  Child& operator=(Child&&) = delete;
  Child(const Child&) = delete;
  ~Child();

  ChildResult Wait();  // until the child ends
  ChildResult Stop();  // SIGTERM, then Wait

 private:
  pid_t pid_;
  int resultPipe_;
};

class Namespace {
 public:
  // Makes a namespace with a name unique to this process ("cv-<tag>-<pid>-<n>")
  // and brings its loopback up. Throws std::runtime_error saying what failed.
  explicit Namespace(const std::string& tag);
  ~Namespace();  // removes it, and with it every interface inside
  Namespace(const Namespace&) = delete;
  Namespace& operator=(const Namespace&) = delete;

  const std::string& name() const { return name_; }

  // Runs a command inside (`ip netns exec`); Exec throws when it fails.
  CommandResult TryExec(const std::vector<std::string>& argv) const;
  void Exec(const std::vector<std::string>& argv) const;
  // sysctl -w key=value inside; throws when it fails.
  void Sysctl(const std::string& key, const std::string& value) const;

  // Runs `body` in a forked child that joined this namespace with setns();
  // what it returns comes back through a pipe. Run waits for the child.
  ChildResult Run(const std::function<std::string()>& body) const;
  Child Start(const std::function<std::string()>& body) const;
  // Starts a program inside (no shell), for a background load such as a flood ping.
  Child StartCommand(const std::vector<std::string>& argv) const;

 private:
  std::string name_;
};

// Joins `a` and `b` with a veth pair, `ifA` in a and `ifB` in b, gives each
// end its address ("10.1.2.3/24") and brings both up. Throws when it fails.
void Connect(const Namespace& a, const std::string& ifA, const std::string& cidrA,
             const Namespace& b, const std::string& ifB, const std::string& cidrB);

}  // namespace netns
