// The network interface a link's packets enter and leave the system by: a
// TUN device (IFF_TUN | IFF_NO_PI) with point-to-point IPv4 addresses.
#pragma once
#include <string>

#include "win32/types.h"

namespace dialup {

struct InterfaceConfig {
  std::string name;  // empty: the first free "sl%d"
  std::string local;
  std::string remote;
  unsigned mtu = 1006;
};

class TunInterface {
 public:
  TunInterface() = default;
  ~TunInterface();
  TunInterface(const TunInterface&) = delete;
  TunInterface& operator=(const TunInterface&) = delete;

  // Creates (or attaches to a persistent) interface, gives it the addresses
  // and the MTU and brings it up. 0, or a RAS error with a sentence for the
  // user in `problem` (for missing permission, the sentence names the fix).
  DWORD Create(const InterfaceConfig& config, std::string& problem);

  // Closing the descriptor removes an interface this process created.
  void Close();

  int fd() const { return fd_; }
  const std::string& name() const { return name_; }

 private:
  DWORD Configure(const InterfaceConfig& config, std::string& problem);

  int fd_ = -1;
  std::string name_;
};

// Whether an interface of that name exists in this network namespace.
bool InterfaceExists(const std::string& name);

}  // namespace dialup
