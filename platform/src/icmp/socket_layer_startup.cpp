#include "icmp/socket_layer_startup.h"

#include <cstring>

namespace platform::icmp {
namespace {

constexpr int WSAEFAULT = 10014;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr WORD kHighestVersion = 0x0202;  // 2.2: low byte major, high byte minor

constexpr int Major(WORD version) { return version & 0xFF; }
constexpr int Minor(WORD version) { return version >> 8; }
constexpr bool Below(WORD a, WORD b) {
  return Major(a) < Major(b) || (Major(a) == Major(b) && Minor(a) < Minor(b));
}

void CopyText(char* out, std::size_t size, const char* text) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

}  // namespace

int StartSocketLayer(WORD versionRequested, LPWSADATA data) {
  if (!data) return WSAEFAULT;
  if (Major(versionRequested) < 1) return WSAVERNOTSUPPORTED;
  std::memset(data, 0, sizeof *data);
  data->wVersion = Below(versionRequested, kHighestVersion) ? versionRequested : kHighestVersion;
  data->wHighVersion = kHighestVersion;
  CopyText(data->szDescription, sizeof data->szDescription, "Corvane sockets on Linux");
  CopyText(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
  // Only 1.x callers read these; they get the figures a 1.1 stack gave.
  data->iMaxSockets = 32767;
  data->iMaxUdpDg = 65467;
  data->lpVendorInfo = nullptr;
  return 0;
}

}  // namespace platform::icmp
