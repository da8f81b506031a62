#include "link_testbed.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "dialup/event_wait.h"
#include "dialup/link_client.h"
#include "dialup/link_record.h"
#include "dialup/packet_pump.h"
#include "dialup/tun_interface.h"

namespace dialup::testbed {
namespace {

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void SetCloexec(int fd) { fcntl(fd, F_SETFD, FD_CLOEXEC); }

}  // namespace

const std::string& UnavailableReason() {
  static const std::string reason = []() -> std::string {
    if (const std::string& why = netns::UnavailableReason(); !why.empty()) return why;
    if (access("/dev/net/tun", R_OK | W_OK) != 0) return "/dev/net/tun is missing";
    return "";
  }();
  return reason;
}

int Run(const std::vector<std::string>& argv, std::string* output, int timeoutSeconds) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(out[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  std::int64_t deadline = MonotonicNs() + std::int64_t{timeoutSeconds} * 1000000000;
  for (;;) {
    int left = static_cast<int>((deadline - MonotonicNs()) / 1000000);
    pollfd p{out[0], POLLIN, 0};
    if (left <= 0 || poll(&p, 1, left) <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    char buffer[4096];
    ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

InNamespace::InNamespace(const NetNamespace& ns) {
  saved_ = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
  int fd = open(ns.path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || setns(fd, CLONE_NEWNET) != 0)
    throw std::runtime_error("cannot enter " + ns.path() + ": " + std::strerror(errno));
  close(fd);
}

InNamespace::~InNamespace() {
  setns(saved_, CLONE_NEWNET);
  close(saved_);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  const char* old = std::getenv(name);
  had_ = old != nullptr;
  if (old) old_ = old;
  setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_) setenv(name_.c_str(), old_.c_str(), 1);
  else unsetenv(name_.c_str());
}

TempTree::TempTree() {
  char pattern[] = "/tmp/corvane-dialup-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempTree::Write(const std::string& relative, const std::string& content) const {
  std::filesystem::path file = path_ + "/" + relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
}

PtyLine::PtyLine() {
  char name[256];
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&master_, &slave_, name, &raw, nullptr) != 0)
    throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
  SetCloexec(master_);
  SetCloexec(slave_);
  fcntl(master_, F_SETFL, O_NONBLOCK);
  slavePath_ = name;
}

PtyLine::~PtyLine() {
  CloseMaster();
  if (slave_ >= 0) close(slave_);
}

void PtyLine::CloseMaster() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

FakeModem::FakeModem(int masterFd, std::string dialAnswer, int delayMs)
    : fd_(masterFd), answer_(std::move(dialAnswer)), delayMs_(delayMs) {
  thread_ = std::thread([this] { Serve(); });
}

FakeModem::~FakeModem() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> FakeModem::Commands() {
  std::lock_guard lock(mutex_);
  return commands_;
}

void FakeModem::Serve() {
  std::string pending;
  while (!stop_) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
    char buffer[256];
    ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n <= 0) continue;
    pending.append(buffer, static_cast<std::size_t>(n));
    for (auto cr = pending.find('\r'); cr != std::string::npos; cr = pending.find('\r')) {
      std::string command = pending.substr(0, cr);
      pending.erase(0, cr + 1);
      {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
      }
      // Echo on, as modems come out of the box.
      WriteAll(fd_, command + "\r");
      if (!command.starts_with("ATD")) {
        WriteAll(fd_, "\r\nOK\r\n");
      } else if (!answer_.empty()) {
        for (int waited = 0; waited < delayMs_ && !stop_; waited += 10) usleep(10000);
        WriteAll(fd_, "\r\n" + answer_ + "\r\n");
        return;  // from here on the line carries the link
      }
    }
  }
}

namespace {

std::string HttpResponse(const std::map<std::string, std::string>& pages,
                         const std::string& request) {
  std::string path;
  if (request.starts_with("GET ")) path = request.substr(4, request.find(' ', 4) - 4);
  auto page = pages.find(path);
  if (page == pages.end()) return "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n";
  return "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
         std::to_string(page->second.size()) + "\r\nConnection: close\r\n\r\n" + page->second;
}

void ServeWeb(int listener, const std::map<std::string, std::string>& pages) {
  for (;;) {
    int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
      ssize_t n = read(client, buffer, sizeof buffer);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    WriteAll(client, HttpResponse(pages, request));
    close(client);
  }
}

int Listen(const std::string& address) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_port = htons(80);
  inet_pton(AF_INET, address.c_str(), &in.sin_addr);
  if (bind(fd, reinterpret_cast<sockaddr*>(&in), sizeof in) != 0 || listen(fd, 8) != 0) return -1;
  return fd;
}

[[noreturn]] void RunDevice(const std::string& nsPath, int masterFd, const std::string& address,
                            const std::string& peer,
                            const std::map<std::string, std::string>& pages, int readyFd) {
  int stopFd = OpenStopSignals();
  int nsFd = open(nsPath.c_str(), O_RDONLY);
  if (nsFd < 0 || setns(nsFd, CLONE_NEWNET) != 0) _exit(3);
  TunInterface tun;
  std::string problem;
  if (tun.Create({"dev0", address, peer, 1006}, problem) != 0) {
    WriteAll(readyFd, "tun: " + problem + "\n");
    _exit(4);
  }
  int listener = Listen(address);
  if (listener < 0) {
    WriteAll(readyFd, "listen failed\n");
    _exit(5);
  }
  std::thread([listener, &pages] { ServeWeb(listener, pages); }).detach();
  WriteAll(readyFd, "ready\n");
  close(readyFd);
  RunPacketPump(masterFd, tun.fd(), stopFd, 1006);
  _exit(0);
}

}  // namespace

Device::Device(const NetNamespace& ns, int masterFd, const std::string& address,
               const std::string& peer, const std::map<std::string, std::string>& pages) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    close(ready[0]);
    RunDevice(ns.path(), masterFd, address, peer, pages, ready[1]);
  }
  close(ready[1]);
  std::string word;
  char buffer[256];
  pollfd p{ready[0], POLLIN, 0};
  while (word.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0) {
    ssize_t n = read(ready[0], buffer, sizeof buffer);
    if (n <= 0) break;
    word.append(buffer, static_cast<std::size_t>(n));
  }
  close(ready[0]);
  if (word != "ready\n") {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    throw std::runtime_error("the simulated device did not start: " + word);
  }
}

Device::~Device() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    usleep(10000);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

std::string Pattern(std::size_t size) {
  std::string text(size, '\0');
  std::uint32_t x = 2463534242u;  // xorshift: every byte value, no short period
  for (char& c : text) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x & 0xFF);
  }
  return text;
}

void HangUpEverything() {
  std::string dir = RuntimeDirectory();
  if (dir.empty()) return;
  for (const auto& r : ReadAllRecords(dir)) {
    if (ConnectionProcessAlive(dir, r.entry)) HangUpEntry(r.entry, 3000);
  }
}

}  // namespace dialup::testbed
