#include "dial_stage.h"

#include <cstring>

#include "connect_failed_dlg.h"
#include "resource_ids.h"

CDialStage::CDialStage() = default;
CDialStage::~CDialStage() = default;

// Passing a notifier makes the dial asynchronous; the launcher learns about
// progress by polling, so the notifier has nothing to do.
void CDialStage::OnDialEvent(UINT, RASCONNSTATE, DWORD) {}

bool CDialStage::StatusQuery() { return RasGetConnectStatusA(m_hRasConn, &m_status) == 0; }

DialOutcome CDialStage::DialAndWait(const char* connectionName) {
  RASDIALPARAMSA params;
  std::memset(&params, 0, sizeof params);
  params.dwSize = sizeof params;
  std::strncpy(params.szEntryName, connectionName ? connectionName : "", sizeof params.szEntryName - 1);
  m_hRasConn = nullptr;
  RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<LPVOID>(&CDialStage::OnDialEvent), &m_hRasConn);

  m_status.dwSize = sizeof m_status;
  if (!StatusQuery()) {
    CString text;
    CString caption;
    text.LoadString(IDS_CONNECTION_IN_USE);
    caption.LoadString(IDS_CAPTION);
    MessageBoxA(nullptr, text, caption, MB_OK);
    return DialOutcome::Rejected;
  }

  m_pWaitingDlg = std::make_unique<CWaitingDlg>();
  m_pWaitingDlg->Create(IDD_WAITING);
  if (WaitForLink()) return DialOutcome::Connected;
  ShowConnectFailed();
  RasHangUpA(m_hRasConn);
  return DialOutcome::Failed;
}

// Polls until the link is up (true) or the attempt has failed (false). The
// service ends every attempt, so the loop needs no time-out of its own; a
// status query that fails means the service lost the connection, and counts
// as a failure rather than leaving the loop polling forever.
bool CDialStage::WaitForLink() {
  while (m_status.rasconnstate != RASCS_Connected) {
    if (!StatusQuery()) return false;
    if (m_status.dwError != 0 && m_status.dwError != PENDING) return false;
  }
  return true;
}

void CDialStage::ShowConnectFailed() {
  CConnectFailedDlg dialog(nullptr);
  dialog.DoModal();
}

void CDialStage::ReportUnreachable() {
  RasHangUpA(m_hRasConn);
  ShowConnectFailed();
}

void CDialStage::CloseWaitingWindow() {
  if (m_pWaitingDlg) m_pWaitingDlg->DestroyWindow();
}
