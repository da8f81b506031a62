#include "no_slip_dlg.h"

#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CNoSlipDlg, CDialog)
END_MESSAGE_MAP()

CNoSlipDlg::CNoSlipDlg(CWnd* pParent) : CDialog(IDD_NO_SLIP, pParent) {}

void CNoSlipDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
