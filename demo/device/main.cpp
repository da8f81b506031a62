// corvane-demo-device: a device that speaks IP over a serial line, for the
// demo. It makes a pseudo-terminal pair and keeps the master side as its
// serial port, puts its address on a TUN interface, answers ICMP echo (the
// kernel does) and serves its home pages on port 80. Run it inside a
// network namespace of its own, as root:
//   corvane-demo-device [--wake-ms N] ADDRESS PEER
// --wake-ms N: echo requests go unanswered for N ms after the first packet
// arrives, as from a device that the call woke up.
// Once everything is up it prints one line, "ready /dev/pts/N", naming the
// line a dial-up entry on the PC side opens. It runs until SIGTERM, SIGINT
// or SIGHUP.
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "dialup/event_wait.h"
#include "dialup/packet_pump.h"
#include "dialup/tun_interface.h"
#include "slow_wake.h"
#include "web_server.h"

namespace {

constexpr unsigned kMtu = 1006;

struct SerialPort {
  int master = -1;
  int slave = -1;  // held open so the port never reads as hung up between calls
  std::string slavePath;
};

bool OpenSerialPort(SerialPort& port, std::string& problem) {
  char name[256] = {};
  termios raw{};
  cfmakeraw(&raw);
  if (openpty(&port.master, &port.slave, name, &raw, nullptr) != 0) {
    problem = std::string("cannot make a pseudo-terminal pair: ") + std::strerror(errno);
    return false;
  }
  fcntl(port.master, F_SETFD, FD_CLOEXEC);
  fcntl(port.slave, F_SETFD, FD_CLOEXEC);
  fcntl(port.master, F_SETFL, fcntl(port.master, F_GETFL) | O_NONBLOCK);
  port.slavePath = name;
  return true;
}

const char* Why(dialup::PumpEnd end) {
  switch (end) {
    case dialup::PumpEnd::Stopped: return "stopped";
    case dialup::PumpEnd::LineLost: return "the serial line was lost";
    case dialup::PumpEnd::LineError: return "the serial line failed";
    case dialup::PumpEnd::InterfaceError: return "the network interface failed";
  }
  return "ended";
}

int Fail(const std::string& problem) {
  std::fprintf(stderr, "corvane-demo-device: %s\n", problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  long wakeMs = 0;
  if (argc == 5 && std::strcmp(argv[1], "--wake-ms") == 0) {
    char* end = nullptr;
    wakeMs = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || wakeMs < 0 || wakeMs > 600000) wakeMs = -1;
    argv += 2;
    argc -= 2;
  }
  if (argc != 3 || wakeMs < 0) {
    std::fputs("usage: corvane-demo-device [--wake-ms N] ADDRESS PEER   (in the device's network namespace)\n",
               stderr);
    return 2;
  }
  const std::string address = argv[1];
  const std::string peer = argv[2];
  // Before any thread starts, so that every thread leaves the stop signals
  // to the signalfd.
  int stopFd = dialup::OpenStopSignals();

  std::string problem;
  SerialPort port;
  if (!OpenSerialPort(port, problem)) return Fail(problem);
  dialup::TunInterface tun;
  if (tun.Create({"dev0", address, peer, kMtu}, problem) != 0) return Fail(problem);
  if (wakeMs > 0 && !demo::AnswerEchoOnlyAfter("dev0", std::chrono::milliseconds(wakeMs), problem)) {
    return Fail(problem);
  }
  int listener = demo::ListenOn(address, 80, problem);
  if (listener < 0) return Fail(problem);
  std::thread(demo::ServeForever, listener).detach();

  std::printf("ready %s\n", port.slavePath.c_str());
  std::fflush(stdout);
  dialup::PumpEnd end = dialup::RunPacketPump(port.master, tun.fd(), stopFd, kMtu);
  std::fprintf(stderr, "corvane-demo-device: %s\n", Why(end));
  return end == dialup::PumpEnd::Stopped ? 0 : 1;
}
