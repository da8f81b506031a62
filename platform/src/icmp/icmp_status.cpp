#include "icmp/icmp_status.h"

#include <cerrno>

#include "icmp/icmp_wire.h"

namespace platform::icmp {
namespace {

// RFC 792 and RFC 1812 codes of "destination unreachable".
ULONG StatusOfUnreachable(std::uint8_t code) {
  switch (code) {
    case 0:   // network unreachable
    case 6:   // destination network unknown
    case 9:   // network administratively prohibited
    case 11:  // network unreachable for this type of service
      return IP_DEST_NET_UNREACHABLE;
    case 2:
      return IP_DEST_PROT_UNREACHABLE;
    case 3:
      return IP_DEST_PORT_UNREACHABLE;
    case 4:  // fragmentation needed and DF set
      return IP_PACKET_TOO_BIG;
    case 5:  // source route failed
      return IP_BAD_ROUTE;
    default:  // host unreachable, unknown, isolated, prohibited, filtered, ...
      return IP_DEST_HOST_UNREACHABLE;
  }
}

}  // namespace

ULONG StatusOfIcmpError(std::uint8_t type, std::uint8_t code) {
  switch (type) {
    case kDestinationUnreachable:
      return StatusOfUnreachable(code);
    case kTimeExceeded:
      return code == 1 ? IP_TTL_EXPIRED_REASSEM : IP_TTL_EXPIRED_TRANSIT;
    case kParameterProblem:
      return IP_PARAM_PROBLEM;
    case kSourceQuench:
      return IP_SOURCE_QUENCH;
    default:
      return IP_GENERAL_FAILURE;
  }
}

ULONG StatusOfSendFailure(int error) {
  switch (error) {
    case ENETUNREACH:
      return IP_DEST_NET_UNREACHABLE;
    case EHOSTUNREACH:
      return IP_DEST_HOST_UNREACHABLE;
    case EMSGSIZE:
      return IP_PACKET_TOO_BIG;
    case ENOBUFS:
    case ENOMEM:
      return IP_NO_RESOURCES;
    default:
      return IP_GENERAL_FAILURE;
  }
}

}  // namespace platform::icmp
