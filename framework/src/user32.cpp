// The user-interface services by their Win32 names, on the window system in force.
#include <map>

#include "framework/app.h"
#include "framework/resources.h"
#include "framework/window_system.h"
#include "framework/wnd.h"
#include "handles.h"
#include "win32/user.h"

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  corvane::ui::WindowSystem* ws = corvane::ui::CurrentWindowSystem();
  if (!ws) return 0;
  CWnd* owner = CWnd::FromHandle(hWnd);
  // Windows titles a box without a caption "Error".
  return ws->ShowMessageBox(owner ? owner->Native() : nullptr, lpText ? lpText : "",
                            lpCaption ? lpCaption : "Error", uType);
}

HICON LoadIconA(HINSTANCE, LPCSTR lpIconName) {
  // Icons are loaded once and live as long as the process, as shared icons do.
  static std::map<const corvane::res::Picture*, HICON__> loaded;
  const corvane::res::ResourceModule* module = corvane::res::CurrentModule();
  auto id = static_cast<int>(reinterpret_cast<ULONG_PTR>(lpIconName));
  const corvane::res::Picture* picture = module ? module->FindIcon(id) : nullptr;
  if (!picture) return nullptr;
  if (auto found = loaded.find(picture); found != loaded.end()) return &found->second;
  std::optional<corvane::res::Image> image = corvane::res::DecodeIco(picture->bytes, picture->size);
  if (!image) return nullptr;
  return &loaded.emplace(picture, HICON__{std::move(*image)}).first->second;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandle(hWnd);
  return wnd ? wnd->WindowProc(Msg, wParam, lParam) : 0;
}

BOOL IsIconic(HWND hWnd) {
  CWnd* wnd = CWnd::FromHandle(hWnd);
  return wnd ? wnd->IsIconic() : FALSE;
}

int GetSystemMetrics(int nIndex) {
  corvane::ui::WindowSystem* ws = corvane::ui::CurrentWindowSystem();
  if (ws) return ws->SystemMetric(nIndex);
  return nIndex == SM_CXICON || nIndex == SM_CYICON ? 32 : 0;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
  CWnd* wnd = CWnd::FromHandle(hWnd);
  if (!wnd || !lpRect) return FALSE;
  wnd->GetClientRect(lpRect);
  return TRUE;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  if (!hDC || !hDC->wnd || !hIcon || !hDC->wnd->Native()) return FALSE;
  hDC->wnd->Native()->DrawIcon(X, Y, hIcon->image);
  return TRUE;
}
