#include "device_url_dlg.h"

#include "device_url.h"
#include "ip_address.h"
#include "resource_ids.h"
#include "settings.h"

namespace {
// Every buffer the URL passes through holds 255 characters.
constexpr int kMaxUrlLength = 255;
}  // namespace

BEGIN_MESSAGE_MAP(CDeviceUrlDlg, CDialog)
END_MESSAGE_MAP()

CDeviceUrlDlg::CDeviceUrlDlg(CWnd* pParent) : CDialog(IDD_DEVICE_URL, pParent) {
  m_strDevURL = ReadSetting("DevURL");
}

void CDeviceUrlDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_DEVICE_URL, m_strDevURL);
}

BOOL CDeviceUrlDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendDlgItemMessage(IDC_DEVICE_URL, EM_LIMITTEXT, kMaxUrlLength);
  return TRUE;
}

void CDeviceUrlDlg::RefuseEntry() {
  CString text;
  CString caption;
  text.LoadString(IDS_INVALID_URL);
  caption.LoadString(IDS_CAPTION);
  MessageBox(text, caption, MB_OK);
}

void CDeviceUrlDlg::OnOK() {
  UpdateData(TRUE);
  CString host;
  if (!HostOfDeviceUrl(m_strDevURL, host) || !IsValidIPAddress(host)) {
    RefuseEntry();
    return;
  }
  CString settingsFile = SettingsFilePath();
  CString shortcutFile = ShortcutFilePath();
  WritePrivateProfileStringA(kSettingsSection, "DevURL", m_strDevURL, settingsFile);
  WritePrivateProfileStringA("InternetShortcut", "URL", m_strDevURL, shortcutFile);
  WritePrivateProfileStringA(kSettingsSection, "DevIP", host, settingsFile);
  CDialog::OnOK();
}
