// ICMP_ECHO_REPLY records written into the caller's reply buffer.
#pragma once
#include <cstddef>

#include "icmp/echo_exchange.h"
#include "win32/icmp.h"

namespace platform::icmp {

// The smallest reply buffer a request with `requestSize` data bytes may be
// given: one record, the echo data, and room for an ICMP error's 8 bytes.
constexpr std::size_t MinimumReplyBufferSize(std::size_t requestSize) {
  return sizeof(ICMP_ECHO_REPLY) + requestSize + 8;
}

// Stores `outcome` (a reply or an error) as the first record of `buffer`,
// its data right behind the record; data that does not fit is cut off.
// Returns the number of records stored.
unsigned WriteReplyRecord(const EchoOutcome& outcome, void* buffer, std::size_t bufferSize);

}  // namespace platform::icmp
