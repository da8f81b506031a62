// Kernel services: current directory, private profile files, program start,
// thread locale.
#pragma once
#include "win32/types.h"

constexpr UINT SW_HIDE = 0;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_SHOW = 5;

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName);

UINT WinExec(LPCSTR lpCmdLine, UINT uCmdShow);

LCID GetThreadLocale();
