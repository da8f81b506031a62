#pragma once
#include "framework/afxwin.h"

// "Waiting for connection.": modeless, on screen while the link comes up;
// nothing to press or close.
class CWaitingDlg : public CDialog {
 public:
  explicit CWaitingDlg(CWnd* pParent = nullptr);

  // Creates the window modeless from `nIDTemplate`, with no parent window.
  virtual BOOL Create(UINT nIDTemplate);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
