#pragma once
#include "shared/main_icon_dlg.h"

// "This will install a Corvane connection to your device." OK starts setup.
class CInstallDlg : public CMainIconDlg {
 public:
  explicit CInstallDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
