#include "framework/data_exchange.h"

#include "framework/wnd.h"

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  if (!pDX || !pDX->m_pDlgWnd) return;
  if (pDX->m_bSaveAndValidate) {
    pDX->m_pDlgWnd->GetDlgItemText(nIDC, value);
  } else {
    pDX->m_pDlgWnd->SetDlgItemText(nIDC, value);
  }
}
