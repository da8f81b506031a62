#include "reachability_probe.h"

#include <cstring>

#include "device_address.h"
#include "win32/icmp.h"

namespace {
constexpr DWORD kTimeoutMs = 1000;
// Shared by every probe; the launcher runs one probe at a time.
BYTE replyBuffer[78];
}  // namespace

int PingDevice(const char* addressText) {
  WSADATA wsaData;
  WSAStartup(0x0101, &wsaData);
  IPAddr destination = DeviceAddressFromText(addressText);

  HANDLE icmp = IcmpCreateFile();
  if (icmp == INVALID_HANDLE_VALUE) return 0;
  char echoData[] = "Do Ping";  // sent with its terminating zero: 8 bytes
  DWORD replies = IcmpSendEcho(icmp, destination, echoData, sizeof echoData, nullptr, replyBuffer,
                               sizeof replyBuffer, kTimeoutMs);
  IcmpCloseHandle(icmp);

  ULONG status;
  std::memcpy(&status, replyBuffer + 4, sizeof status);
  return replies > 0 && status == IP_SUCCESS ? 1 : 0;
}
