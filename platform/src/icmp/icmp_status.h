// What an ICMP error message or a failed send means as an IP_STATUS code.
#pragma once
#include <cstdint>

#include "win32/icmp.h"

namespace platform::icmp {

// The IP_STATUS for an ICMP error of this type and code.
ULONG StatusOfIcmpError(std::uint8_t type, std::uint8_t code);

// The IP_STATUS for a request the local stack refused to send (errno of sendto).
ULONG StatusOfSendFailure(int error);

}  // namespace platform::icmp
