// Until the dial-up service lands: dial-up networking is not installed.
#include "real_services.h"

namespace platform::real {
namespace {
class NoRemoteAccess final : public RemoteAccess {
 public:
  DWORD Dial(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD, LPVOID,
             LPHRASCONN connection) override {
    if (connection) *connection = nullptr;
    return ERROR_PORT_NOT_AVAILABLE;
  }
  DWORD GetConnectStatus(HRASCONN, LPRASCONNSTATUSA) override { return ERROR_INVALID_HANDLE; }
  DWORD HangUp(HRASCONN) override { return ERROR_INVALID_HANDLE; }
};
}  // namespace

RemoteAccess& TheRemoteAccess() {
  static NoRemoteAccess service;
  return service;
}
}  // namespace platform::real
