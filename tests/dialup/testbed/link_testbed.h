// A bench for real dial-up links: two network namespaces made for the test,
// a pseudo-terminal pair as the serial line between them, a simulated device
// (SLIP endpoint and web server) on the far side, and a fake Hayes modem.
// Needs root; traffic stays inside the namespaces made here.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "netns.h"

namespace dialup::testbed {

// Why these links cannot be built here ("" when they can).
const std::string& UnavailableReason();

// Runs a program (no shell) in the calling thread's network namespace and
// waits for it, killing it after `timeoutSeconds`. The exit status, or -1.
int Run(const std::vector<std::string>& argv, std::string* output = nullptr,
        int timeoutSeconds = 30);

// A namespace of the test's own (throws when it cannot be made), entered by
// its path.
class NetNamespace : public netns::Namespace {
 public:
  using netns::Namespace::Namespace;
  std::string path() const { return "/run/netns/" + name(); }
};

// This thread (and every process it starts) lives in `ns` until destroyed.
class InNamespace {
 public:
  explicit InNamespace(const NetNamespace& ns);
  ~InNamespace();
  InNamespace(const InNamespace&) = delete;
  InNamespace& operator=(const InNamespace&) = delete;

 private:
  int saved_;
};

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

class TempTree {
 public:
  TempTree();
  ~TempTree();
  const std::string& path() const { return path_; }
  void Write(const std::string& relative, const std::string& content) const;

 private:
  std::string path_;
};

// The serial line: the PC side is the slave (a path in the phonebook), the
// device or modem side the master. The slave stays open here too, so the
// master never sees a hang-up just because no dialler has it open.
class PtyLine {
 public:
  PtyLine();
  ~PtyLine();
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  void CloseMaster();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Answers AT commands on the master side: OK to anything before the dial,
// `dialAnswer` (say "CONNECT 115200", "BUSY") `delayMs` after ATDT, or
// nothing at all when dialAnswer is empty.
class FakeModem {
 public:
  FakeModem(int masterFd, std::string dialAnswer, int delayMs = 0);
  ~FakeModem();
  std::vector<std::string> Commands();

 private:
  void Serve();
  int fd_;
  std::string answer_;
  int delayMs_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> commands_;
  std::thread thread_;
};

// The simulated device, in its own namespace and process: a TUN interface
// with the device's address, SLIP on the pty master, and an HTTP/1.0 server
// on port 80 of that address serving `pages` (path to content).
class Device {
 public:
  Device(const NetNamespace& ns, int masterFd, const std::string& address,
         const std::string& peer, const std::map<std::string, std::string>& pages);
  ~Device();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

// Deterministic content that shows a lost, doubled or changed byte.
std::string Pattern(std::size_t size);

// Every link record in the runtime directory whose process still lives is
// hung up; for clean-up after a test, even a failed one.
void HangUpEverything();

}  // namespace dialup::testbed
