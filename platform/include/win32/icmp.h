// ICMP echo calls and the socket-layer start-up.
#pragma once
#include "win32/types.h"

using IPAddr = ULONG;  // network byte order

struct IP_OPTION_INFORMATION {
  UCHAR Ttl;
  UCHAR Tos;
  UCHAR Flags;
  UCHAR OptionsSize;
  UCHAR* OptionsData;
};
using PIP_OPTION_INFORMATION = IP_OPTION_INFORMATION*;

// The record IcmpSendEcho stores for each reply; Status sits at byte offset 4.
struct ICMP_ECHO_REPLY {
  IPAddr Address;
  ULONG Status;
  ULONG RoundTripTime;
  USHORT DataSize;
  USHORT Reserved;
  PVOID Data;
  IP_OPTION_INFORMATION Options;
};
using PICMP_ECHO_REPLY = ICMP_ECHO_REPLY*;
static_assert(offsetof(ICMP_ECHO_REPLY, Status) == 4, "status at offset 4");

constexpr ULONG IP_SUCCESS = 0;
constexpr ULONG IP_STATUS_BASE = 11000;
constexpr ULONG IP_BUF_TOO_SMALL = 11001;
constexpr ULONG IP_DEST_NET_UNREACHABLE = 11002;
constexpr ULONG IP_DEST_HOST_UNREACHABLE = 11003;
constexpr ULONG IP_DEST_PROT_UNREACHABLE = 11004;
constexpr ULONG IP_DEST_PORT_UNREACHABLE = 11005;
constexpr ULONG IP_NO_RESOURCES = 11006;
constexpr ULONG IP_BAD_OPTION = 11007;
constexpr ULONG IP_HW_ERROR = 11008;
constexpr ULONG IP_PACKET_TOO_BIG = 11009;
constexpr ULONG IP_REQ_TIMED_OUT = 11010;
constexpr ULONG IP_BAD_REQ = 11011;
constexpr ULONG IP_BAD_ROUTE = 11012;
constexpr ULONG IP_TTL_EXPIRED_TRANSIT = 11013;
constexpr ULONG IP_TTL_EXPIRED_REASSEM = 11014;
constexpr ULONG IP_PARAM_PROBLEM = 11015;
constexpr ULONG IP_SOURCE_QUENCH = 11016;
constexpr ULONG IP_BAD_DESTINATION = 11018;
constexpr ULONG IP_GENERAL_FAILURE = 11050;

HANDLE IcmpCreateFile();
BOOL IcmpCloseHandle(HANDLE IcmpHandle);
DWORD IcmpSendEcho(HANDLE IcmpHandle, IPAddr DestinationAddress, LPVOID RequestData,
                   WORD RequestSize, PIP_OPTION_INFORMATION RequestOptions, LPVOID ReplyBuffer,
                   DWORD ReplySize, DWORD Timeout);

constexpr int WSADESCRIPTION_LEN = 256;
constexpr int WSASYS_STATUS_LEN = 128;
struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
