#include "no_browser_warn_dlg.h"

#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CNoBrowserWarnDlg, CDialog)
END_MESSAGE_MAP()

CNoBrowserWarnDlg::CNoBrowserWarnDlg(CWnd* pParent) : CDialog(IDD_NO_BROWSER_WARN, pParent) {}

void CNoBrowserWarnDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
