#pragma once
#include "framework/afxwin.h"

// readyscan: checks that the machine can run Corvane, warns about what is
// missing, asks for confirmation and starts the setup program.
class CInstallApp : public CWinApp {
 public:
  CInstallApp();
  ~CInstallApp() override;

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  // Each check: true to go on with the next step.
  bool IsWindows95();
  bool HasDialUpNetworking();
  void WarnUnlessSlipInstalled();
  void WarnUnlessBrowserRegistered();
  void StartSetup();
};
