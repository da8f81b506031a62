// User-interface services by their Win32 names. The framework implements them
// on the window system in force.
#pragma once
#include "win32/types.h"

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT BN_CLICKED = 0;
constexpr UINT EM_LIMITTEXT = 0x00C5;

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

constexpr UINT ID_HELP = 0xE146;  // 57670

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
BOOL IsIconic(HWND hWnd);
int GetSystemMetrics(int nIndex);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
