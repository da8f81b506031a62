#include "framework/paint_dc.h"

#include "handles.h"
#include "win32/user.h"

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

CPaintDC::CPaintDC(CWnd* pWnd) : wnd_(pWnd) { m_hDC = new HDC__{pWnd}; }

CPaintDC::~CPaintDC() { delete m_hDC; }
