#include "icmp/icmp_wire.h"

#include <cstring>

namespace platform::icmp {
namespace {

std::uint16_t ReadBigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

void WriteBigEndian16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value >> 8);
  p[1] = static_cast<std::uint8_t>(value);
}

// Addresses are kept exactly as the bytes sit on the wire.
std::uint32_t ReadAddress(const std::uint8_t* p) {
  std::uint32_t address;
  std::memcpy(&address, p, sizeof address);
  return address;
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) sum += ReadBigEndian16(&bytes[i]);
  if (i < bytes.size()) sum += static_cast<std::uint32_t>(bytes[i]) << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                           std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> message(kIcmpHeaderSize + data.size(), 0);
  message[0] = kEchoRequest;
  message[1] = 0;
  WriteBigEndian16(&message[4], identifier);
  WriteBigEndian16(&message[6], sequence);
  if (!data.empty()) std::memcpy(&message[kIcmpHeaderSize], data.data(), data.size());
  WriteBigEndian16(&message[2], InternetChecksum(message));
  return message;
}

std::optional<IpPacket> ParseIpPacket(std::span<const std::uint8_t> packet) {
  if (packet.size() < kMinIpHeaderSize || (packet[0] >> 4) != 4) return std::nullopt;
  const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0F) * 4;
  const std::size_t totalSize = ReadBigEndian16(&packet[2]);
  if (headerSize < kMinIpHeaderSize || totalSize < headerSize || totalSize > packet.size()) {
    return std::nullopt;
  }
  IpPacket result;
  result.header.tos = packet[1];
  result.header.flags = static_cast<std::uint8_t>(packet[6] >> 5);
  result.header.ttl = packet[8];
  result.header.protocol = packet[9];
  result.header.source = ReadAddress(&packet[12]);
  result.header.destination = ReadAddress(&packet[16]);
  result.payload = packet.subspan(headerSize, totalSize - headerSize);
  return result;
}

bool IsErrorType(std::uint8_t type) {
  return type == kDestinationUnreachable || type == kSourceQuench || type == kTimeExceeded ||
         type == kParameterProblem;
}

std::optional<IcmpMessage> ParseIcmpMessage(std::span<const std::uint8_t> message) {
  if (message.size() < kIcmpHeaderSize || InternetChecksum(message) != 0) return std::nullopt;
  IcmpMessage result;
  result.type = message[0];
  result.code = message[1];
  const auto body = message.subspan(kIcmpHeaderSize);
  if (IsErrorType(result.type)) {
    result.quoted = body;
  } else {
    result.identifier = ReadBigEndian16(&message[4]);
    result.sequence = ReadBigEndian16(&message[6]);
    result.data = body;
  }
  return result;
}

std::optional<QuotedEcho> QuotedEchoRequest(std::span<const std::uint8_t> quoted) {
  // The quoted datagram is cut after its first 8 payload bytes, so its total
  // length field cannot be checked against what is here.
  if (quoted.size() < kMinIpHeaderSize || (quoted[0] >> 4) != 4) return std::nullopt;
  const std::size_t headerSize = static_cast<std::size_t>(quoted[0] & 0x0F) * 4;
  if (headerSize < kMinIpHeaderSize || quoted.size() < headerSize + kIcmpHeaderSize) {
    return std::nullopt;
  }
  const std::uint8_t* echo = &quoted[headerSize];
  if (quoted[9] != 1 /* ICMP */ || echo[0] != kEchoRequest) return std::nullopt;
  QuotedEcho result;
  result.destination = ReadAddress(&quoted[16]);
  result.identifier = ReadBigEndian16(&echo[4]);
  result.sequence = ReadBigEndian16(&echo[6]);
  return result;
}

}  // namespace platform::icmp
