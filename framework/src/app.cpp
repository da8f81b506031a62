#include "framework/app.h"

#include <string>

#include "dialog_site.h"
#include "framework/dialog.h"
#include "win32/help.h"

namespace {
CWinApp* theApplication = nullptr;

// Help contexts of dialogs start here, as the original framework numbered them.
constexpr ULONG_PTR kDialogHelpContextBase = 0x20000;

struct ApplicationNames {
  std::string title;
  std::string exeName;
  std::string helpFile;
};

ApplicationNames& Names() {
  static ApplicationNames names;
  return names;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName) { theApplication = this; }

CWinApp::~CWinApp() {
  if (theApplication == this) theApplication = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

// Programs of this framework end inside InitInstance; a program that returns
// TRUE has nothing left to run once its windows are gone.
int CWinApp::Run() { return ExitInstance(); }

BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

void CWinApp::OnHelp() {
  CDialog* active = corvane::framework::ActiveDialog();
  if (active) {
    WinHelpA(active->GetSafeHwnd(), m_pszHelpFilePath, HELP_CONTEXT,
             kDialogHelpContextBase + active->TemplateId());
  } else {
    WinHelpA(nullptr, m_pszHelpFilePath, HELP_FINDER, 0);
  }
}

CWinApp* AfxGetApp() { return theApplication; }

// One resource module per program: the instance handle only names it.
HINSTANCE AfxGetInstanceHandle() { return reinterpret_cast<HINSTANCE>(&theApplication); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

namespace corvane::framework {

void InitApplicationNames(CWinApp& app, const char* programPath) {
  std::string path = programPath ? programPath : "";
  std::string base = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
  if (auto dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.erase(dot);
  ApplicationNames& names = Names();
  names.exeName = base;
  names.title = base;
  std::string stem = path;
  if (auto dot = stem.rfind('.'); dot != std::string::npos && dot > stem.find_last_of('/') + 1) stem.erase(dot);
  names.helpFile = stem + ".hlp";
  app.m_pszExeName = names.exeName.c_str();
  app.m_pszHelpFilePath = names.helpFile.c_str();
  if (!app.m_pszAppName) app.m_pszAppName = names.title.c_str();
  app.m_hInstance = AfxGetInstanceHandle();
}

}  // namespace corvane::framework
