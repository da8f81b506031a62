#pragma once
#include "framework/afxwin.h"

// The warning shown when no default browser is registered.
class CNoBrowserDlg : public CDialog {
 public:
  explicit CNoBrowserDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
