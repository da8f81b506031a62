#include "icmp/icmp_handles.h"

#include <unistd.h>

#include <map>
#include <mutex>

namespace platform::icmp {
namespace {

struct HandleTable {
  std::mutex mutex;
  std::map<std::uintptr_t, std::shared_ptr<IcmpHandleState>> open;
  std::uintptr_t lastNumber = 0x1C30;  // far from 0 and from INVALID_HANDLE_VALUE
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

IcmpHandleState::IcmpHandleState(EchoSocket s, std::uint16_t id, std::uint16_t firstSequence)
    : socket(s), identifier(id), nextSequence(firstSequence) {}

IcmpHandleState::~IcmpHandleState() { close(socket.fd); }

HANDLE AddHandle(std::shared_ptr<IcmpHandleState> state) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  const std::uintptr_t number = ++table.lastNumber;
  table.open.emplace(number, std::move(state));
  return reinterpret_cast<HANDLE>(number);
}

std::shared_ptr<IcmpHandleState> FindHandle(HANDLE handle) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  const auto found = table.open.find(reinterpret_cast<std::uintptr_t>(handle));
  return found == table.open.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  return table.open.erase(reinterpret_cast<std::uintptr_t>(handle)) == 1;
}

}  // namespace platform::icmp
