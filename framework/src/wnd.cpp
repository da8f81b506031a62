#include "framework/wnd.h"

#include "framework/app.h"
#include "framework/window_system.h"
#include "handles.h"

CWnd::CWnd() = default;

CWnd::~CWnd() { DetachNative(); }

CWnd* CWnd::FromHandle(HWND hWnd) { return hWnd ? hWnd->wnd : nullptr; }

void CWnd::AttachNative(std::unique_ptr<corvane::ui::NativeDialog> native) {
  DetachNative();
  native_ = std::move(native);
  m_hWnd = new HWND__{this};
}

void CWnd::DetachNative() {
  native_.reset();
  delete m_hWnd;
  m_hWnd = nullptr;
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
  if (native_) native_->SetControlText(nID, lpszString ? lpszString : "");
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString = native_ ? native_->ControlText(nID).c_str() : "";
  return rString.GetLength();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!native_) return 0;
  if (message == EM_LIMITTEXT) {
    // Zero means "as much as the control can hold".
    native_->LimitText(nID, wParam ? static_cast<int>(wParam) : 0x7FFFFFFE);
  }
  return 0;
}

BOOL CWnd::IsIconic() const { return native_ && native_->IsIconic() ? TRUE : FALSE; }

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (!lpRect) return;
  *lpRect = native_ ? native_->ClientRect() : RECT{0, 0, 0, 0};
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  corvane::ui::WindowSystem* ws = corvane::ui::CurrentWindowSystem();
  if (!ws) return 0;
  if (!lpszCaption) {
    CWinApp* app = AfxGetApp();
    lpszCaption = app && app->m_pszAppName ? app->m_pszAppName : "";
  }
  return ws->ShowMessageBox(native_.get(), lpszText ? lpszText : "", lpszCaption, nType);
}

BOOL CWnd::DestroyWindow() {
  if (!native_) return FALSE;
  DetachNative();
  return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessage saved = current_;
  current_ = {message, wParam, lParam};
  LRESULT result = 0;
  if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0); entry && message != WM_COMMAND) {
    result = CallHandler(*entry);
  } else {
    result = DefWindowProc(message, wParam, lParam);
  }
  current_ = saved;
  return result;
}

LRESULT CWnd::Default() { return DefWindowProc(current_.message, current_.wParam, current_.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!native_) return 0;
  switch (message) {
    case WM_PAINT:
      native_->PaintDefault();
      return 0;
    case WM_ICONERASEBKGND:
      native_->EraseIconBackground();
      return 1;
    case WM_SETICON: {
      auto* icon = reinterpret_cast<HICON>(lParam);
      native_->SetIcon(wParam == ICON_BIG ? corvane::ui::IconSize::Big : corvane::ui::IconSize::Small,
                       icon ? &icon->image : nullptr);
      return 0;
    }
    default:
      return 0;
  }
}
