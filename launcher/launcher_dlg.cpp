#include "launcher_dlg.h"

#include "device_url_dlg.h"
#include "resource_ids.h"
#include "settings.h"

BEGIN_MESSAGE_MAP(CLauncherDlg, CMainIconDlg)
ON_BN_CLICKED(IDC_URL_BUTTON, &CLauncherDlg::OnUrlButton)
END_MESSAGE_MAP()

CLauncherDlg::CLauncherDlg(CWnd* pParent) : CMainIconDlg(IDD_LAUNCHER_DIALOG, pParent) {}

void CLauncherDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CLauncherDlg::OnInitDialog() {
  CMainIconDlg::OnInitDialog();
  ShowStoredUrl();
  return TRUE;
}

// The URL line shows what the file holds, whatever the dialog's outcome.
void CLauncherDlg::OnUrlButton() {
  CDeviceUrlDlg dialog(nullptr);
  dialog.DoModal();
  ShowStoredUrl();
}

void CLauncherDlg::ShowStoredUrl() { SetDlgItemText(IDC_URL_LINE, ReadSetting("DevURL")); }
