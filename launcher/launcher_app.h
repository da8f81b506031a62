#pragma once
#include "framework/afxwin.h"

// dialgate: finds the browser, shows the main window, dials the device's
// entry, checks that the device answers and opens the browser on its URL.
class CLauncherApp : public CWinApp {
 public:
  CLauncherApp();
  ~CLauncherApp() override;

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};
