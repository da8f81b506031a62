#include "no_browser_dlg.h"

#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CNoBrowserDlg, CDialog)
END_MESSAGE_MAP()

CNoBrowserDlg::CNoBrowserDlg(CWnd* pParent) : CDialog(IDD_NO_BROWSER, pParent) {}

void CNoBrowserDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
