// The socket an ICMP handle sends its echo requests through.
#pragma once
#include <optional>

namespace platform::icmp {

enum class SocketKind {
  Datagram,  // unprivileged ping socket: the kernel owns the identifier and filters replies
  Raw,       // needs CAP_NET_RAW: sees every ICMP message of the host, filtered by us
};

struct EchoSocket {
  int fd = -1;
  SocketKind kind = SocketKind::Datagram;
};

// The datagram socket where net.ipv4.ping_group_range lets the caller have
// one, the raw socket otherwise. When neither can be had it says why on
// standard error, once per process, sets errno and returns none.
std::optional<EchoSocket> OpenEchoSocket();

}  // namespace platform::icmp
