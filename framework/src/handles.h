// What the framework's handles stand for.
#pragma once
#include "framework/image.h"
#include "win32/types.h"

class CWnd;

struct HWND__ {
  CWnd* wnd;
};

struct HDC__ {
  CWnd* wnd;
};

struct HICON__ {
  corvane::res::Image image;
};

