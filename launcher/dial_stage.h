// The dial-up stage: dials the entry, shows the waiting window, polls the
// dial-up service until the link is up or the attempt failed, and hangs up on
// the failure paths. The connection outlives the launcher on success.
#pragma once
#include <memory>

#include "waiting_dlg.h"
#include "win32/ras.h"

enum class DialOutcome {
  Rejected,   // the status query right after the dial failed; its message was shown
  Failed,     // the attempt failed while waiting; failure dialog shown, then hung up
  Connected,  // the link is up; the waiting window is on screen
};

class CDialStage {
 public:
  CDialStage();
  ~CDialStage();

  DialOutcome DialAndWait(const char* connectionName);
  // No probe answered: hang up, then the failure dialog.
  void ReportUnreachable();
  // The device answered: the waiting window goes; the connection stays up.
  void CloseWaitingWindow();

 private:
  static void OnDialEvent(UINT message, RASCONNSTATE state, DWORD error);
  bool StatusQuery();
  bool WaitForLink();
  void ShowConnectFailed();

  HRASCONN m_hRasConn = nullptr;
  RASCONNSTATUSA m_status{};
  std::unique_ptr<CWaitingDlg> m_pWaitingDlg;
};
