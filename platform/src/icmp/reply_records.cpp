#include "icmp/reply_records.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace platform::icmp {

unsigned WriteReplyRecord(const EchoOutcome& outcome, void* buffer, std::size_t bufferSize) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  unsigned char* dataArea = bytes + sizeof(ICMP_ECHO_REPLY);
  const std::size_t room = bufferSize - sizeof(ICMP_ECHO_REPLY);
  const std::size_t dataSize = std::min({outcome.data.size(), room, std::size_t{0xFFFF}});
  if (dataSize) std::memcpy(dataArea, outcome.data.data(), dataSize);

  ICMP_ECHO_REPLY record{};
  record.Address = outcome.address;
  record.Status = outcome.status;
  record.RoundTripTime = static_cast<ULONG>(
      std::chrono::duration_cast<std::chrono::milliseconds>(outcome.roundTrip).count());
  record.DataSize = static_cast<USHORT>(dataSize);
  record.Data = dataArea;
  record.Options.Ttl = outcome.ttl;
  record.Options.Tos = outcome.tos;
  record.Options.Flags = outcome.flags;
  record.Options.OptionsSize = 0;
  record.Options.OptionsData = nullptr;
  // The caller's buffer need not be aligned for the record.
  std::memcpy(bytes, &record, sizeof record);
  return 1;
}

}  // namespace platform::icmp
