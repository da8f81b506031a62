// The Win32-named calls, forwarded to the service implementation in force.
#include "platform/services.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  return platform::CurrentCurrentDirectory().Get(nBufferLength, lpBuffer);
}

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  return platform::CurrentProfileFiles().GetString(lpAppName, lpKeyName, lpDefault,
                                                   lpReturnedString, nSize, lpFileName);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName) {
  return platform::CurrentProfileFiles().WriteString(lpAppName, lpKeyName, lpString, lpFileName);
}

UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
  return platform::CurrentProcesses().WinExec(lpCmdLine, uCmdShow);
}

LCID GetThreadLocale() { return platform::CurrentThreadLocale().Get(); }

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   PHKEY phkResult) {
  return platform::CurrentRegistry().OpenKey(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  return platform::CurrentRegistry().QueryValue(hKey, lpValueName, lpType, lpData, lpcbData);
}

LONG RegCloseKey(HKEY hKey) { return platform::CurrentRegistry().CloseKey(hKey); }

BOOL WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData) {
  return platform::CurrentHelp().WinHelp(hWndMain, lpszHelp, uCommand, dwData);
}

DWORD RasDialA(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook,
               LPRASDIALPARAMSA lpRasDialParams, DWORD dwNotifierType, LPVOID lpvNotifier,
               LPHRASCONN lphRasConn) {
  return platform::CurrentRemoteAccess().Dial(lpRasDialExtensions, lpszPhonebook, lpRasDialParams,
                                              dwNotifierType, lpvNotifier, lphRasConn);
}

DWORD RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA lprasconnstatus) {
  return platform::CurrentRemoteAccess().GetConnectStatus(hrasconn, lprasconnstatus);
}

DWORD RasHangUpA(HRASCONN hrasconn) { return platform::CurrentRemoteAccess().HangUp(hrasconn); }

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
  return platform::CurrentIcmpEcho().Startup(wVersionRequested, lpWSAData);
}

HANDLE IcmpCreateFile() { return platform::CurrentIcmpEcho().CreateFile(); }

BOOL IcmpCloseHandle(HANDLE IcmpHandle) {
  return platform::CurrentIcmpEcho().CloseHandle(IcmpHandle);
}

DWORD IcmpSendEcho(HANDLE IcmpHandle, IPAddr DestinationAddress, LPVOID RequestData,
                   WORD RequestSize, PIP_OPTION_INFORMATION RequestOptions, LPVOID ReplyBuffer,
                   DWORD ReplySize, DWORD Timeout) {
  return platform::CurrentIcmpEcho().SendEcho(IcmpHandle, DestinationAddress, RequestData,
                                              RequestSize, RequestOptions, ReplyBuffer, ReplySize,
                                              Timeout);
}
