#include "shared/main_icon_dlg.h"

BEGIN_MESSAGE_MAP(CMainIconDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

int IconOffset(int clientExtent, int iconExtent) { return (clientExtent - iconExtent + 1) / 2; }

CMainIconDlg::CMainIconDlg(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME))) {}

BOOL CMainIconDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The one 32 x 32 icon serves both sizes.
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  return TRUE;
}

void CMainIconDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int cxIcon = GetSystemMetrics(SM_CXICON);
  int cyIcon = GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  dc.DrawIcon(IconOffset(rect.right - rect.left, cxIcon), IconOffset(rect.bottom - rect.top, cyIcon), m_hIcon);
}

HCURSOR CMainIconDlg::OnQueryDragIcon() { return m_hIcon; }
