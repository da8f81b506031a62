#pragma once
#include "framework/afxwin.h"

// "Unable to connect to device."; Help opens the help file's topic.
class CConnectFailedDlg : public CDialog {
 public:
  explicit CConnectFailedDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnHelpButton();

  DECLARE_MESSAGE_MAP()
};
