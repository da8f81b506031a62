// RasDialA, RasGetConnectStatusA and RasHangUpA on top of the dial-up
// service's client: the Win32 records in, the service's link status out.
#include <algorithm>
#include <cstring>
#include <string>

#include "dialup/link_client.h"
#include "real_services.h"
#include "win32/ras.h"

namespace platform::real {
namespace {

dialup::LinkHandle ToLink(HRASCONN connection) {
  auto value = reinterpret_cast<std::uintptr_t>(connection);
  return value > 0xFFFFFFFFu ? 0 : static_cast<dialup::LinkHandle>(value);
}

HRASCONN ToHandle(dialup::LinkHandle link) {
  return reinterpret_cast<HRASCONN>(static_cast<std::uintptr_t>(link));
}

// A field of a caller's record may lack its terminator; read at most its size.
std::string Field(const char* text, std::size_t size) {
  return std::string(text, strnlen(text, size));
}

void CopyCut(char* out, std::size_t size, const std::string& text) {
  std::size_t n = std::min(size - 1, text.size());
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

class RemoteAccessService final : public RemoteAccess {
 public:
  DWORD Dial(LPRASDIALEXTENSIONS, LPCSTR phonebook, LPRASDIALPARAMSA params, DWORD,
             LPVOID notifier, LPHRASCONN connection) override {
    if (!connection) return ERROR_INVALID_PARAMETER;
    *connection = nullptr;
    if (!params) return ERROR_INVALID_PARAMETER;
    if (params->dwSize != sizeof(RASDIALPARAMSA)) return ERROR_INVALID_SIZE;
    dialup::DialRequest request;
    request.entry = Field(params->szEntryName, sizeof params->szEntryName);
    request.number = Field(params->szPhoneNumber, sizeof params->szPhoneNumber);
    if (phonebook) request.phonebook = Field(phonebook, 4096);
    dialup::LinkHandle link = 0;
    DWORD result = client_.Dial(request, &link);
    *connection = ToHandle(link);
    // Without a notifier the caller expects the dial to be over on return.
    if (!notifier && link != 0 && result == 0) result = WaitForOutcome(link);
    return result;
  }

  DWORD GetConnectStatus(HRASCONN connection, LPRASCONNSTATUSA status) override {
    if (!status) return ERROR_BUFFER_INVALID;
    if (status->dwSize != sizeof(RASCONNSTATUSA)) return ERROR_INVALID_SIZE;
    dialup::LinkStatus link;
    if (DWORD error = client_.Status(ToLink(connection), &link)) return error;
    status->rasconnstate = link.state;
    status->dwError = link.error;
    CopyCut(status->szDeviceType, sizeof status->szDeviceType, link.deviceType);
    CopyCut(status->szDeviceName, sizeof status->szDeviceName, link.deviceName);
    return 0;
  }

  DWORD HangUp(HRASCONN connection) override { return client_.HangUp(ToLink(connection)); }

 private:
  DWORD WaitForOutcome(dialup::LinkHandle link) {
    for (;;) {
      dialup::LinkStatus s;
      if (DWORD error = client_.Status(link, &s)) return error;
      if (s.error != 0 && s.error != PENDING) return s.error;
      if (s.state == RASCS_Connected) return 0;
    }
  }

  dialup::LinkClient& client_ = dialup::TheLinkClient();
};

}  // namespace

RemoteAccess& TheRemoteAccess() {
  static RemoteAccessService service;
  return service;
}

}  // namespace platform::real
