#pragma once
#include "framework/afxwin.h"

// SLIP support is missing; OK goes on, Exit stops.
class CNoSlipDlg : public CDialog {
 public:
  explicit CNoSlipDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
