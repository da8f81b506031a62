#pragma once
#include "framework/afxwin.h"

// "Device URL": the user changes the URL at which the device's pages open.
class CDeviceUrlDlg : public CDialog {
 public:
  explicit CDeviceUrlDlg(CWnd* pParent = nullptr);

  CString m_strDevURL;  // the text exactly as typed

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Accepts the entry only when its host is a usable device address; then
  // stores the URL, the shortcut and the address.
  void OnOK() override;

  DECLARE_MESSAGE_MAP()

 private:
  void RefuseEntry();
};
