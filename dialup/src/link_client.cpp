#include "dialup/link_client.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "dialup/phonebook.h"
#include "win32/ras.h"

#ifndef CORVANE_LIBEXEC_DIR
#define CORVANE_LIBEXEC_DIR "/usr/local/libexec/corvane"
#endif

namespace dialup {

struct LinkClient::Attachment {
  std::string entry;
  std::string dir;
  std::uint64_t attempt = 0;  // 0: the attempt failed before a process ran
  DWORD localError = 0;
  int watch = -1;  // inotify on the runtime directory
  bool reported = false;
  LinkStatus last;
};

namespace {

void CloseWatch(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

int WatchDirectory(const std::string& dir) {
  int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd >= 0 && inotify_add_watch(fd, dir.c_str(), IN_MOVED_TO | IN_DELETE | IN_CLOSE_WRITE) < 0)
    CloseWatch(fd);
  return fd;
}

void Drain(int fd) {
  alignas(inotify_event) char buffer[4096];
  while (read(fd, buffer, sizeof buffer) > 0) {
  }
}

bool IsLive(const std::string& dir, const LinkRecord& r) {
  return !IsFinished(r) && ConnectionProcessAlive(dir, r.entry);
}

// Starts the connection process detached: a new session, stdin and stdout on
// /dev/null, stderr kept for its one line of complaint, and a double fork so
// that it is nobody's zombie. Returns the read end of its ready pipe.
int SpawnConnection(const std::string& helper, const DialRequest& request) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  std::vector<std::string> args = {helper, "--ready-fd", "3"};
  if (!request.phonebook.empty()) args.insert(args.end(), {"--phonebook", request.phonebook});
  if (!request.number.empty()) args.insert(args.end(), {"--number", request.number});
  // An entry name may itself start with "--".
  args.insert(args.end(), {"--", request.entry});
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return -1;
  }
  if (child == 0) {
    setsid();
    if (fork() != 0) _exit(0);
    int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(pipeFds[1], 3);
    close_range(4, ~0U, 0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) signal(sig, SIG_DFL);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return pipeFds[0];
}

// The connection process's first word: "ok ATTEMPT", "busy", "entry-busy"
// or "error CODE". Empty when it died or said nothing in time.
std::string ReadReply(int fd, int timeoutMs) {
  std::string reply;
  std::int64_t deadline = MonotonicNs() + std::int64_t{timeoutMs} * 1000000;
  while (reply.find('\n') == std::string::npos) {
    int left = static_cast<int>((deadline - MonotonicNs()) / 1000000);
    pollfd p{fd, POLLIN, 0};
    if (left <= 0 || poll(&p, 1, left) <= 0) break;
    char buffer[64];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    reply.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  auto end = reply.find('\n');
  return end == std::string::npos ? std::string() : reply.substr(0, end);
}

}  // namespace

LinkClient::~LinkClient() {
  for (auto& [handle, a] : handles_) {
    CloseWatch(a->watch);
    delete a;
  }
}

LinkHandle LinkClient::Add(Attachment a) {
  std::lock_guard lock(mutex_);
  LinkHandle handle = next_++;
  if (next_ == 0) next_ = 1;
  handles_[handle] = new Attachment(std::move(a));
  return handle;
}

DWORD LinkClient::Dial(const DialRequest& request, LinkHandle* handle) {
  *handle = 0;
  auto failed = [&](DWORD error, const std::string& entry) {
    Attachment a;
    a.entry = entry;
    a.localError = error;
    *handle = Add(std::move(a));
    return error;
  };
  auto books = request.phonebook.empty() ? DefaultPhonebooks()
                                         : std::vector<std::string>{request.phonebook};
  Lookup found = FindEntry(request.entry, books);
  if (!found.entry) {
    std::fprintf(stderr, "corvane: %s\n", found.problem.c_str());
    return failed(found.error, request.entry);
  }
  const std::string& name = found.entry->name;
  std::string dir = RuntimeDirectory();
  if (dir.empty()) {
    std::fprintf(stderr, "corvane: no private runtime directory for link records\n");
    return failed(ERROR_PORT_NOT_AVAILABLE, name);
  }
  auto attach = [&](std::uint64_t attempt) {
    Attachment a;
    a.entry = name;
    a.dir = dir;
    a.attempt = attempt;
    a.watch = WatchDirectory(dir);
    *handle = Add(std::move(a));
    return DWORD{0};
  };
  if (auto r = ReadRecord(dir, name); r && IsLive(dir, *r)) return attach(r->attempt);

  std::string helper = FindConnectionHelper();
  if (helper.empty()) {
    std::fprintf(stderr, "corvane: the connection program corvane-link is not installed (looked "
                         "beside this program and in " CORVANE_LIBEXEC_DIR ")\n");
    return failed(ERROR_PORT_NOT_AVAILABLE, name);
  }
  int ready = SpawnConnection(helper, request);
  if (ready < 0) return failed(ERROR_PORT_NOT_AVAILABLE, name);
  std::string reply = ReadReply(ready, 10000);
  if (reply.starts_with("ok ")) return attach(std::strtoull(reply.c_str() + 3, nullptr, 10));
  if (reply == "busy") return ERROR_PORT_ALREADY_OPEN;
  if (reply == "entry-busy") {
    // Another dialler started this entry a moment ago: share its link.
    for (int tries = 0; tries < 100; ++tries) {
      if (auto r = ReadRecord(dir, name); r && IsLive(dir, *r)) return attach(r->attempt);
      usleep(10000);
    }
    return ERROR_PORT_ALREADY_OPEN;
  }
  if (reply.starts_with("error "))
    return failed(static_cast<DWORD>(std::strtoul(reply.c_str() + 6, nullptr, 10)), name);
  return failed(ERROR_PORT_NOT_AVAILABLE, name);
}

LinkStatus LinkClient::Current(Attachment& a) {
  LinkStatus s;
  if (a.attempt == 0) {
    s.state = RASCS_OpenPort;
    s.error = a.localError;
    return s;
  }
  auto r = ReadRecord(a.dir, a.entry);
  if (r && r->attempt == a.attempt && !IsFinished(*r) && !ConnectionProcessAlive(a.dir, a.entry)) {
    // The process publishes its last word before it lets go of the lock, so
    // a record read once it is gone holds that word if there was one.
    r = ReadRecord(a.dir, a.entry);
  }
  if (!r || r->attempt != a.attempt) {
    // The record was removed or a newer attempt replaced it: this one is over.
    s.state = RASCS_Disconnected;
    s.error = ERROR_DISCONNECTION;
    s.deviceType = a.last.deviceType;
    s.deviceName = a.last.deviceName;
    return s;
  }
  s.state = r->state;
  s.error = r->error;
  s.deviceType = r->deviceType;
  s.deviceName = r->device;
  if (!IsFinished(*r) && !ConnectionProcessAlive(a.dir, a.entry)) {
    s.state = RASCS_Disconnected;  // the process ended without a last word
    s.error = ERROR_DISCONNECTION;
  }
  return s;
}

DWORD LinkClient::Status(LinkHandle handle, LinkStatus* status, int maxWaitMs) {
  Attachment* a;
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) return ERROR_INVALID_HANDLE;
    a = it->second;
  }
  if (a->watch >= 0) Drain(a->watch);
  LinkStatus now = Current(*a);
  bool unchanged = a->reported && now.state == a->last.state && now.error == a->last.error;
  if (unchanged && a->watch >= 0 && maxWaitMs > 0) {
    pollfd p{a->watch, POLLIN, 0};
    if (poll(&p, 1, maxWaitMs) > 0) Drain(a->watch);
    now = Current(*a);
  } else if (unchanged && maxWaitMs > 0) {
    usleep(static_cast<useconds_t>(maxWaitMs) * 1000);
    now = Current(*a);
  }
  a->last = now;
  a->reported = true;
  *status = now;
  return 0;
}

DWORD LinkClient::HangUp(LinkHandle handle) {
  Attachment* a;
  {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) return ERROR_INVALID_HANDLE;
    a = it->second;
    handles_.erase(it);
  }
  if (a->attempt != 0) {
    auto r = ReadRecord(a->dir, a->entry);
    if (r && r->attempt == a->attempt && r->pid > 0 && ConnectionProcessAlive(a->dir, a->entry))
      kill(r->pid, SIGTERM);
  }
  CloseWatch(a->watch);
  delete a;
  return 0;
}

LinkClient& TheLinkClient() {
  static LinkClient client;
  return client;
}

std::string FindConnectionHelper() {
  char self[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::vector<std::string> candidates;
  if (n > 0) {
    std::string path(self, static_cast<std::size_t>(n));
    candidates.push_back(path.substr(0, path.rfind('/') + 1) + "corvane-link");
  }
  candidates.push_back(CORVANE_LIBEXEC_DIR "/corvane-link");
  for (const std::string& c : candidates) {
    if (access(c.c_str(), X_OK) == 0) return c;
  }
  return {};
}

DWORD HangUpEntry(const std::string& entry, int waitMs) {
  std::string dir = RuntimeDirectory();
  if (dir.empty()) return ERROR_NO_CONNECTION;
  auto r = ReadRecord(dir, entry);
  if (!r || r->pid <= 0 || !ConnectionProcessAlive(dir, entry)) return ERROR_NO_CONNECTION;
  kill(r->pid, SIGTERM);
  auto waitUntilGone = [&](std::int64_t ms) {
    std::int64_t deadline = MonotonicNs() + ms * 1000000;
    while (ConnectionProcessAlive(dir, entry)) {
      if (MonotonicNs() > deadline) return false;
      usleep(5000);
    }
    return true;
  };
  // One that will not go is killed: the kernel then removes its interface
  // and frees the line.
  if (!waitUntilGone(waitMs)) {
    kill(r->pid, SIGKILL);
    waitUntilGone(1000);
  }
  return 0;
}

}  // namespace dialup
