#include "waiting_dlg.h"

#include "resource_ids.h"

BEGIN_MESSAGE_MAP(CWaitingDlg, CDialog)
END_MESSAGE_MAP()

CWaitingDlg::CWaitingDlg(CWnd* pParent) : CDialog(IDD_WAITING, pParent) {}

BOOL CWaitingDlg::Create(UINT nIDTemplate) { return CDialog::Create(nIDTemplate, nullptr); }

void CWaitingDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }
