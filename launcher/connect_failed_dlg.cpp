#include "connect_failed_dlg.h"

#include "resource_ids.h"

namespace {
constexpr ULONG_PTR kConnectionHelpTopic = 0x80844445;
}

BEGIN_MESSAGE_MAP(CConnectFailedDlg, CDialog)
ON_BN_CLICKED(IDC_HELP_BUTTON, &CConnectFailedDlg::OnHelpButton)
END_MESSAGE_MAP()

CConnectFailedDlg::CConnectFailedDlg(CWnd* pParent) : CDialog(IDD_CONNECT_FAILED, pParent) {}

void CConnectFailedDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

// The dialog stays open; only OK, Escape or the close box end it.
void CConnectFailedDlg::OnHelpButton() { WinHelpA(m_hWnd, "install.hlp", HELP_CONTEXT, kConnectionHelpTopic); }
