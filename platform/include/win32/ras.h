// Remote access (dial-up) client calls.
#pragma once
#include "win32/types.h"

struct HRASCONN__;
using HRASCONN = HRASCONN__*;
using LPHRASCONN = HRASCONN*;

constexpr int RAS_MaxEntryName = 256;
constexpr int RAS_MaxPhoneNumber = 128;
constexpr int RAS_MaxCallbackNumber = 128;
constexpr int RAS_MaxDeviceType = 16;
constexpr int RAS_MaxDeviceName = 128;
constexpr int UNLEN = 256;
constexpr int PWLEN = 256;
constexpr int DNLEN = 15;

// First (Windows 95) layout: dwSize holds 1052.
struct RASDIALPARAMSA {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
  CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
  CHAR szUserName[UNLEN + 1];
  CHAR szPassword[PWLEN + 1];
  CHAR szDomain[DNLEN + 1];
};
using LPRASDIALPARAMSA = RASDIALPARAMSA*;
static_assert(sizeof(RASDIALPARAMSA) == 1052, "Windows 95 dial parameter layout");

using RASCONNSTATE = DWORD;
constexpr RASCONNSTATE RASCS_OpenPort = 0;
constexpr RASCONNSTATE RASCS_PortOpened = 1;
constexpr RASCONNSTATE RASCS_ConnectDevice = 2;
constexpr RASCONNSTATE RASCS_DeviceConnected = 3;
constexpr RASCONNSTATE RASCS_AllDevicesConnected = 4;
constexpr RASCONNSTATE RASCS_Authenticate = 5;
constexpr RASCONNSTATE RASCS_Authenticated = 14;
constexpr RASCONNSTATE RASCS_Projected = 18;
constexpr RASCONNSTATE RASCS_Interactive = 0x1000;
constexpr RASCONNSTATE RASCS_Connected = 0x2000;
constexpr RASCONNSTATE RASCS_Disconnected = 0x2001;

// First layout: dwSize holds 160.
struct RASCONNSTATUSA {
  DWORD dwSize;
  RASCONNSTATE rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
  CHAR padding[160 - 12 - (RAS_MaxDeviceType + 1) - (RAS_MaxDeviceName + 1)];
};
using LPRASCONNSTATUSA = RASCONNSTATUSA*;
static_assert(sizeof(RASCONNSTATUSA) == 160, "first connection status layout");

struct RASDIALEXTENSIONS;
using LPRASDIALEXTENSIONS = RASDIALEXTENSIONS*;

// Notifier type 0: message code, connection state, error code.
using RASDIALFUNC = void (*)(UINT unMsg, RASCONNSTATE rasconnstate, DWORD dwError);

constexpr DWORD PENDING = 600;
constexpr DWORD ERROR_PORT_ALREADY_OPEN = 602;
constexpr DWORD ERROR_BUFFER_INVALID = 610;
constexpr DWORD ERROR_DEVICE_DOES_NOT_EXIST = 608;
constexpr DWORD ERROR_PORT_NOT_FOUND = 615;
constexpr DWORD ERROR_PORT_DISCONNECTED = 619;
constexpr DWORD ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623;
constexpr DWORD ERROR_DISCONNECTION = 628;
constexpr DWORD ERROR_REMOTE_DISCONNECTION = 629;
constexpr DWORD ERROR_HARDWARE_FAILURE = 630;
constexpr DWORD ERROR_USER_DISCONNECTION = 631;
constexpr DWORD ERROR_INVALID_SIZE = 632;
constexpr DWORD ERROR_PORT_NOT_AVAILABLE = 633;
constexpr DWORD ERROR_REQUEST_TIMEOUT = 638;
constexpr DWORD ERROR_FROM_DEVICE = 651;
constexpr DWORD ERROR_UNRECOGNIZED_RESPONSE = 652;
constexpr DWORD ERROR_NO_CONNECTION = 668;
constexpr DWORD ERROR_LINE_BUSY = 676;
constexpr DWORD ERROR_NO_ANSWER = 678;
constexpr DWORD ERROR_NO_CARRIER = 679;
constexpr DWORD ERROR_NO_DIALTONE = 680;
constexpr DWORD ERROR_PORT_OR_DEVICE = 692;
constexpr DWORD ERROR_SLIP_REQUIRES_IP = 729;

DWORD RasDialA(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook,
               LPRASDIALPARAMSA lpRasDialParams, DWORD dwNotifierType, LPVOID lpvNotifier,
               LPHRASCONN lphRasConn);
DWORD RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA lprasconnstatus);
DWORD RasHangUpA(HRASCONN hrasconn);
