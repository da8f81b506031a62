// WSAStartup: Linux sockets need no start-up, so this only answers the
// version question the way the socket layer does.
#pragma once
#include "win32/icmp.h"

namespace platform::icmp {

// 0 and a filled record for any version from 1.0 up; WSAVERNOTSUPPORTED below
// that, WSAEFAULT without a record.
int StartSocketLayer(WORD versionRequested, LPWSADATA data);

}  // namespace platform::icmp
