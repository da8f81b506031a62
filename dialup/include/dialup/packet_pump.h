// Moves IP packets between a TUN interface and a serial line in SLIP framing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace dialup {

enum class PumpEnd { Stopped, LineLost, LineError, InterfaceError };

struct PumpCounters {
  std::uint64_t packetsToLine = 0;
  std::uint64_t packetsFromLine = 0;
  std::uint64_t framesDropped = 0;  // noise, bad escapes, oversized or not IPv4
};

// Whether a decoded frame is one whole IPv4 packet. The line has no
// checksum, so noise that happens to sit between two ENDs is weeded out here
// rather than handed to the kernel.
bool IsWholeIPv4Packet(std::span<const std::uint8_t> frame);

// Runs until stopFd becomes readable or the line or the interface fails.
// Both descriptors must be non-blocking. Frames longer than maxFrame are
// dropped. Packets from the interface wait in a bounded queue; while it is
// full the interface is not read, so the kernel drops what the line cannot
// carry instead of this process growing without bound.
PumpEnd RunPacketPump(int lineFd, int tunFd, int stopFd, std::size_t maxFrame,
                      PumpCounters* counters = nullptr);

}  // namespace dialup
