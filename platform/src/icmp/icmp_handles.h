// The ICMP handles this process has open. A handle is a number, not a
// pointer, so a stale or made-up handle is refused instead of followed.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>

#include "icmp/icmp_socket.h"
#include "win32/types.h"

namespace platform::icmp {

struct IcmpHandleState {
  IcmpHandleState(EchoSocket socket, std::uint16_t identifier, std::uint16_t firstSequence);
  ~IcmpHandleState();  // closes the socket
  IcmpHandleState(const IcmpHandleState&) = delete;
  IcmpHandleState& operator=(const IcmpHandleState&) = delete;

  const EchoSocket socket;
  const std::uint16_t identifier;
  // A handle may be shared by threads, but its exchanges take turns: two
  // reading one socket would each drop the other's reply as not theirs.
  std::mutex exchangeTurn;
  std::uint16_t nextSequence;  // guarded by exchangeTurn
};

// Registers the state and hands out its handle.
HANDLE AddHandle(std::shared_ptr<IcmpHandleState> state);
// The state of an open handle, or none. A caller holding it keeps the socket
// open even if another thread closes the handle meanwhile.
std::shared_ptr<IcmpHandleState> FindHandle(HANDLE handle);
// Forgets the handle; false when it was not open.
bool RemoveHandle(HANDLE handle);

}  // namespace platform::icmp
