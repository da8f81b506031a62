// Until ICMP echo lands: no ICMP handle can be had.
#include "real_services.h"

namespace platform::real {
namespace {
class NoIcmp final : public IcmpEcho {
 public:
  int Startup(WORD, LPWSADATA) override { return 0; }
  HANDLE CreateFile() override {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  DWORD SendEcho(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD,
                 DWORD) override {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  BOOL CloseHandle(HANDLE) override { return FALSE; }
};
}  // namespace

IcmpEcho& TheIcmpEcho() {
  static NoIcmp service;
  return service;
}
}  // namespace platform::real
