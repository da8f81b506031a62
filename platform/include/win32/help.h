// The help viewer.
#pragma once
#include "win32/types.h"

constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_INDEX = 0x0003;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_FINDER = 0x000B;

BOOL WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData);
