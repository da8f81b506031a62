// A window of the framework: the dialog it belongs to and its native window.
#pragma once
#include <memory>

#include "framework/cstring.h"
#include "framework/message_map.h"

namespace corvane::ui {
class NativeDialog;
}

class CWnd : public CCmdTarget {
 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  static CWnd* FromHandle(HWND hWnd);

  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, CString& rString) const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL IsIconic() const;
  void GetClientRect(LPRECT lpRect) const;
  // A message box owned by this window; a null caption is the application title.
  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);
  virtual BOOL DestroyWindow();

  // Runs a message through this window's message map, then the default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // The native window, while one exists (framework use).
  corvane::ui::NativeDialog* Native() const { return native_.get(); }

 protected:
  // The default processing of the message being handled.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  void AttachNative(std::unique_ptr<corvane::ui::NativeDialog> native);
  void DetachNative();

 private:
  struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };
  CurrentMessage current_;
  std::unique_ptr<corvane::ui::NativeDialog> native_;
};
