#include "icmp/icmp_socket.h"

#include <linux/filter.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "icmp/icmp_wire.h"

namespace platform::icmp {
namespace {

void EnableOption(int fd, int level, int option) {
  const int on = 1;
  setsockopt(fd, level, option, &on, sizeof on);
}

int OpenDatagramSocket() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) return -1;
  // Errors for our requests come through the error queue, with the hop limit
  // and type of service of each reply beside it.
  EnableOption(fd, IPPROTO_IP, IP_RECVERR);
  EnableOption(fd, IPPROTO_IP, IP_RECVTTL);
  EnableOption(fd, IPPROTO_IP, IP_RECVTOS);
  return fd;
}

int OpenRawSocket() {
  const int fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) return -1;
  // A raw socket is handed every ICMP message of the host; let the kernel
  // drop the kinds we never look at (echo requests above all, which a busy
  // host sees many of) so they do not wake us.
  icmp_filter filter{};
  filter.data = ~((1u << kEchoReply) | (1u << kDestinationUnreachable) | (1u << kSourceQuench) |
                  (1u << kTimeExceeded) | (1u << kParameterProblem));
  setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
  return fd;
}

std::string ProgramPath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "<program>";
  return std::string(path, static_cast<std::size_t>(length));
}

bool IsPermissionError(int error) { return error == EACCES || error == EPERM; }

void ReportNoSocket(int datagramError, int rawError) {
  static std::atomic<bool> reported{false};
  if (reported.exchange(true)) return;
  if (IsPermissionError(datagramError) && IsPermissionError(rawError)) {
    std::fprintf(stderr,
                 "ICMP echo unavailable: this user's group may not open ping sockets and the "
                 "program lacks CAP_NET_RAW; allow the group with "
                 "`sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"` or run "
                 "`setcap cap_net_raw+ep %s`\n",
                 ProgramPath().c_str());
  } else {
    std::fprintf(stderr, "ICMP echo unavailable: ping socket: %s; raw socket: %s\n",
                 std::strerror(datagramError), std::strerror(rawError));
  }
}

}  // namespace

std::optional<EchoSocket> OpenEchoSocket() {
  int fd = OpenDatagramSocket();
  if (fd >= 0) return EchoSocket{fd, SocketKind::Datagram};
  const int datagramError = errno;
  fd = OpenRawSocket();
  if (fd >= 0) return EchoSocket{fd, SocketKind::Raw};
  const int rawError = errno;
  ReportNoSocket(datagramError, rawError);
  errno = rawError;
  return std::nullopt;
}

void KeepOnlyRepliesTo(const EchoSocket& socket, std::uint16_t identifier) {
  if (socket.kind != SocketKind::Raw) return;
  // The program sees the packet from its IP header on. Errors pass: they
  // quote our request, and the exchange matches them itself.
  sock_filter program[] = {
      BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),                     // X = IP header length
      BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0),                      // ICMP type
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kEchoReply, 0, 2),      // not a reply: keep
      BPF_STMT(BPF_LD | BPF_H | BPF_IND, 4),                      // echo identifier
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, identifier, 0, 1),      // another's reply: drop
      BPF_STMT(BPF_RET | BPF_K, 0xFFFFFFFF),
      BPF_STMT(BPF_RET | BPF_K, 0),
  };
  sock_fprog filter{static_cast<unsigned short>(std::size(program)), program};
  setsockopt(socket.fd, SOL_SOCKET, SO_ATTACH_FILTER, &filter, sizeof filter);
}

}  // namespace platform::icmp
