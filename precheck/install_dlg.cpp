#include "install_dlg.h"

#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CInstallDlg, CMainIconDlg)
END_MESSAGE_MAP()

CInstallDlg::CInstallDlg(CWnd* pParent) : CMainIconDlg(IDD_INSTALL_DIALOG, pParent) {}

void CInstallDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
