#pragma once
#include "shared/main_icon_dlg.h"

// The main window: what the launcher will do, the stored device URL, and the
// "URL..." button that changes it.
class CLauncherDlg : public CMainIconDlg {
 public:
  explicit CLauncherDlg(CWnd* pParent = nullptr);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnUrlButton();

  DECLARE_MESSAGE_MAP()

 private:
  void ShowStoredUrl();
};
