#include "connection.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "dialup/event_wait.h"
#include "dialup/link_record.h"
#include "dialup/modem.h"
#include "dialup/packet_pump.h"
#include "dialup/ras_text.h"
#include "dialup/serial_line.h"
#include "dialup/tun_interface.h"
#include "win32/ras.h"

namespace dialup {
namespace {

void Reply(int& readyFd, const std::string& message) {
  if (readyFd < 0) return;
  std::string line = message + "\n";
  (void)!write(readyFd, line.data(), line.size());
  close(readyFd);
  readyFd = -1;
}

// One line on stderr for the person who dialled; nothing else is printed.
void Complain(const Entry& entry, const std::string& problem, DWORD error) {
  std::fprintf(stderr, "corvane-link: %s: %s (%s, RAS error %u)\n", entry.name.c_str(),
               problem.c_str(), ErrorText(error).c_str(), static_cast<unsigned>(error));
}

// The entry lock says one connection process per entry. A status query
// holds it shared for an instant, so a short retry tells that apart from a
// live link.
int TakeEntryLock(const std::string& dir, const std::string& entryName) {
  int fd = open(LockPath(dir, entryName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  for (int tries = 0; tries < 40; ++tries) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    if (errno != EWOULDBLOCK) break;
    usleep(5000);
  }
  close(fd);
  return -1;
}

std::uint64_t NewAttemptId() {
  std::uint64_t id = 0;
  while (id == 0) {
    if (getrandom(&id, sizeof id, 0) != sizeof id) id = static_cast<std::uint64_t>(MonotonicNs());
  }
  return id;
}

DWORD ErrorForPumpEnd(PumpEnd end) {
  switch (end) {
    case PumpEnd::Stopped: return ERROR_USER_DISCONNECTION;
    case PumpEnd::LineLost: return ERROR_PORT_DISCONNECTED;
    case PumpEnd::LineError:
    case PumpEnd::InterfaceError: return ERROR_DISCONNECTION;
  }
  return ERROR_DISCONNECTION;
}

class Connection {
 public:
  explicit Connection(const ConnectionOptions& o) : options_(o), readyFd_(o.readyFd) {
    const Entry& e = o.entry;
    record_.entry = e.name;
    record_.pid = getpid();
    record_.deviceType = e.phone.empty() ? "serial" : "modem";
    record_.device = e.device;
    record_.local = e.local;
    record_.remote = e.remote;
  }

  int Run() {
    const Entry& entry = options_.entry;
    std::int64_t deadline = MonotonicNs() + std::int64_t{entry.timeoutSeconds} * 1000000000;
    int entryLock = TakeEntryLock(options_.runtimeDir, entry.name);
    if (entryLock < 0) {
      Reply(readyFd_, "entry-busy");
      return 1;
    }
    record_.attempt = NewAttemptId();
    std::string problem;
    DWORD error = line_.Open(entry, problem);
    if (error == ERROR_PORT_ALREADY_OPEN) {
      // Nothing is published: the line and any record belong to someone else.
      Reply(readyFd_, "busy");
      return 1;
    }
    Publish(RASCS_OpenPort, error);
    Reply(readyFd_, "ok " + std::to_string(record_.attempt));
    if (error) return Fail(problem, error);
    Publish(RASCS_PortOpened);

    Publish(RASCS_ConnectDevice);
    if (!entry.phone.empty()) {
      error = DialModem(line_.fd(), options_.stopFd, entry.init, entry.phone, deadline);
      if (error) return Fail(DialProblem(error), error);
      line_.WatchCarrier();
    }
    Publish(RASCS_DeviceConnected);
    Publish(RASCS_AllDevicesConnected);
    if (StopRequested(options_.stopFd)) return Finish(ERROR_USER_DISCONNECTION);
    error = tun_.Create({entry.interface, entry.local, entry.remote, entry.mtu}, problem);
    if (error) return Fail(problem, error);
    record_.interface = tun_.name();
    Publish(RASCS_Connected);
    QuietStderr();

    std::size_t maxFrame = std::max<std::size_t>(entry.mtu, 1006);
    PumpEnd end = RunPacketPump(line_.fd(), tun_.fd(), options_.stopFd, maxFrame);
    return Finish(ErrorForPumpEnd(end));
  }

 private:
  void Publish(DWORD state, DWORD error = 0) {
    record_.state = state;
    record_.error = error;
    record_.changedNs = MonotonicNs();
    PublishRecord(options_.runtimeDir, record_);
  }

  std::string DialProblem(DWORD error) {
    if (error == ERROR_USER_DISCONNECTION) return "hung up while dialling";
    if (error == ERROR_NO_ANSWER)
      return "no answer within " + std::to_string(options_.entry.timeoutSeconds) + " s";
    return "dialling " + options_.entry.phone + " failed";
  }

  int Fail(const std::string& problem, DWORD error) {
    if (error != ERROR_USER_DISCONNECTION) Complain(options_.entry, problem, error);
    return Finish(error);
  }

  // The line and the interface go first, so a record that says the attempt
  // is over also means the line is free for the next one.
  int Finish(DWORD error) {
    tun_.Close();
    line_.Close();
    DWORD state = record_.state == RASCS_Connected || error == ERROR_USER_DISCONNECTION
                      ? RASCS_Disconnected
                      : record_.state;
    record_.interface.clear();
    Publish(state, error);
    return error == ERROR_USER_DISCONNECTION ? 0 : 1;
  }

  // The dialler may be long gone once the link is up.
  static void QuietStderr() {
    int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
      dup2(null, STDERR_FILENO);
      close(null);
    }
  }

  const ConnectionOptions& options_;
  int readyFd_;
  LinkRecord record_;
  SerialLine line_;
  TunInterface tun_;
};

}  // namespace

int RunConnection(const ConnectionOptions& options) { return Connection(options).Run(); }

}  // namespace dialup
