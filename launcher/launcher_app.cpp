#include "launcher_app.h"

#include <cstdlib>

#include "dial_stage.h"
#include "launcher_dlg.h"
#include "no_browser_dlg.h"
#include "reachability_probe.h"
#include "settings.h"
#include "shared/browser_lookup.h"

namespace {
constexpr int kProbes = 3;
}

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CLauncherApp::CLauncherApp() = default;
CLauncherApp::~CLauncherApp() = default;

BOOL CLauncherApp::InitInstance() {
  Enable3dControlsStatic();

  CString browserCommand;
  BOOL haveBrowser = GetBrowserCommand(browserCommand);
  if (!haveBrowser) {
    CNoBrowserDlg warning(nullptr);
    if (warning.DoModal() == IDCANCEL) exit(1);
  }

  CLauncherDlg mainWindow(nullptr);
  if (mainWindow.DoModal() != IDOK) return FALSE;

  CDialStage dialStage;
  if (dialStage.DialAndWait(ReadSetting("connName")) != DialOutcome::Connected) return FALSE;

  // All three probes are sent, one after the other; one answer is enough.
  CString deviceAddress = ReadSetting("DevIP");
  int answered[kProbes];
  for (int& result : answered) result = PingDevice(deviceAddress);
  if (!answered[0] && !answered[1] && !answered[2]) {
    dialStage.ReportUnreachable();
    return FALSE;
  }

  dialStage.CloseWaitingWindow();
  if (!haveBrowser) return FALSE;  // the warning told the user to start one by hand

  // The URL goes right behind the command (whose cut kept the blank before
  // the placeholder). The whole line is started however long it is.
  CString commandLine = browserCommand;
  commandLine += ReadSetting("DevURL");
  WinExec(commandLine, SW_SHOW);
  return FALSE;  // the link stays up
}
