// The socket an ICMP handle sends its echo requests through.
#pragma once
#include <cstdint>
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

// Has the kernel queue, of all the echo replies a raw socket sees, only those
// that carry `identifier`, so other processes' pings (a flood above all)
// cannot fill the receive queue and crowd our reply out. A datagram socket
// needs nothing: the kernel gives it only its own replies.
void KeepOnlyRepliesTo(const EchoSocket& socket, std::uint16_t identifier);

}  // namespace platform::icmp
