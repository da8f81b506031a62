#pragma once
#include "framework/afxwin.h"

// No default browser is registered; OK goes on, Exit stops.
class CNoBrowserWarnDlg : public CDialog {
 public:
  explicit CNoBrowserWarnDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
