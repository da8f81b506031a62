// The application object: exactly one global object of a class derived from
// CWinApp. The framework's main finds it, calls InitInstance once, then
// ExitInstance, and ends the process.
#pragma once
#include "framework/message_map.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop; never entered by programs whose InitInstance returns FALSE.
  virtual int Run();

  // The three-dimensional control look. Every window system here already draws
  // its controls that way, so there is nothing to switch on.
  BOOL Enable3dControlsStatic();

  // The standard Help command: the help file's topic for the active dialog.
  void OnHelp();

  LPCTSTR m_pszAppName = nullptr;       // title: the program file's base name unless given
  LPCTSTR m_pszExeName = nullptr;       // program file base name
  LPCTSTR m_pszHelpFilePath = nullptr;  // the program's path with ".hlp"
  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;

  DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

namespace corvane::framework {
// Sets the application's names from the program file's path, as the
// framework's start-up does.
void InitApplicationNames(CWinApp& app, const char* programPath);
}  // namespace corvane::framework
