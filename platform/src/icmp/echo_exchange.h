// One echo request sent and the answer to it awaited: a reply, an ICMP error
// that quotes it, a refusal by the local stack, or nothing before the deadline.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "icmp/icmp_socket.h"
#include "win32/icmp.h"

namespace platform::icmp {

struct EchoRequest {
  std::uint32_t destination = 0;  // network byte order
  std::uint16_t identifier = 0;   // raw sockets only; the kernel picks it for datagram sockets
  std::uint16_t sequence = 0;
  std::span<const std::uint8_t> data;
  std::optional<std::uint8_t> ttl;  // the route's default when none
  std::chrono::milliseconds timeout{0};
};

struct EchoOutcome {
  enum class Kind {
    Reply,       // the echo reply to this request
    Error,       // an ICMP error about this request, from `address`
    NotSent,     // the local stack refused the request
    TimedOut,
  };
  Kind kind = Kind::TimedOut;
  ULONG status = IP_REQ_TIMED_OUT;
  std::uint32_t address = 0;  // the replying or reporting node, network byte order
  std::chrono::steady_clock::duration roundTrip{};
  std::vector<std::uint8_t> data;  // a reply's echo data
  std::uint8_t ttl = 0;
  std::uint8_t tos = 0;
  std::uint8_t flags = 0;
};

// Sends `request` through `socket` and waits until its answer arrives or the
// time-out has passed since the send. Everything else the socket receives
// (other requests' replies, other processes' pings, damaged messages) is
// dropped without moving the deadline.
EchoOutcome ExchangeEcho(const EchoSocket& socket, const EchoRequest& request);

}  // namespace platform::icmp
