// ICMP messages as they travel: building an echo request and reading what
// comes back (an echo reply, or an error that quotes one of our requests).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::icmp {

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kDestinationUnreachable = 3;
constexpr std::uint8_t kSourceQuench = 4;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kTimeExceeded = 11;
constexpr std::uint8_t kParameterProblem = 12;

constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kMinIpHeaderSize = 20;

// The Internet checksum (RFC 1071) over `bytes`; over a message whose checksum
// field is filled in it yields 0.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// An echo request: header with a valid checksum, then exactly `data`.
std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                           std::span<const std::uint8_t> data);

// The fields of an IPv4 header that a reply record reports; addresses stay in
// network byte order.
struct IpHeaderFacts {
  std::uint32_t source = 0;
  std::uint32_t destination = 0;
  std::uint8_t ttl = 0;
  std::uint8_t tos = 0;
  std::uint8_t flags = 0;  // the three flag bits, as they sit in the top of the fragment word
  std::uint8_t protocol = 0;
};

// An IPv4 packet split into its header facts and payload; none when the
// header is malformed or the packet is shorter than the header says.
struct IpPacket {
  IpHeaderFacts header;
  std::span<const std::uint8_t> payload;
};
std::optional<IpPacket> ParseIpPacket(std::span<const std::uint8_t> packet);

// An ICMP message whose checksum is right. For errors, `quoted` is what the
// error quotes of the offending datagram (its IP header and first bytes).
struct IcmpMessage {
  std::uint8_t type = 0;
  std::uint8_t code = 0;
  std::uint16_t identifier = 0;  // echo messages only
  std::uint16_t sequence = 0;    // echo messages only
  std::span<const std::uint8_t> data;    // echo data
  std::span<const std::uint8_t> quoted;  // errors only
};
std::optional<IcmpMessage> ParseIcmpMessage(std::span<const std::uint8_t> message);

bool IsErrorType(std::uint8_t type);

// The echo request an ICMP error quotes, if it quotes one: its destination
// and its identifier and sequence number.
struct QuotedEcho {
  std::uint32_t destination = 0;
  std::uint16_t identifier = 0;
  std::uint16_t sequence = 0;
};
std::optional<QuotedEcho> QuotedEchoRequest(std::span<const std::uint8_t> quoted);

}  // namespace platform::icmp
