#include "install_app.h"

#include <cstdlib>
#include <cstring>

#include "install_dlg.h"
#include "no_browser_warn_dlg.h"
#include "no_slip_dlg.h"
#include "resource_ids.h"
#include "shared/browser_lookup.h"

namespace {

constexpr DWORD kTextBuffer = 256;
constexpr LCID kLanguageMask = 0x3FF;
constexpr LCID kEnglish = 0x09;

const char* const kVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char* const kDialUpKey = "System\\CurrentControlSet\\Services\\RemoteAccess\\NetworkProvider";
const char* const kSlipKey =
    "System\\CurrentControlSet\\Services\\RemoteAccess\\Authentication\\SMM_Files\\SLIP";
const char* const kSetupCommand = ".\\install\\disk1\\Setup.exe";

// A message box with no owner, string `textId` and the caption string.
int ShowMessage(UINT textId, UINT type) {
  CString text;
  CString caption;
  text.LoadString(textId);
  caption.LoadString(IDS_CAPTION);
  return MessageBoxA(nullptr, text, caption, type);
}

// Reads a string value of HKEY_LOCAL_MACHINE\<key> into `text`. Results:
// the key did not open, the value could not be read, or it was read.
enum class ReadResult { NoKey, NoValue, Read };

ReadResult ReadMachineValue(const char* key, const char* valueName, char (&text)[kTextBuffer]) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return ReadResult::NoKey;
  DWORD size = sizeof text;
  LONG read = RegQueryValueExA(handle, valueName, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
  RegCloseKey(handle);
  text[kTextBuffer - 1] = '\0';
  return read == ERROR_SUCCESS ? ReadResult::Read : ReadResult::NoValue;
}

bool MachineKeyExists(const char* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

}  // namespace

BEGIN_MESSAGE_MAP(CInstallApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CInstallApp::CInstallApp() = default;
CInstallApp::~CInstallApp() = default;

BOOL CInstallApp::InitInstance() {
  Enable3dControlsStatic();
  CInstallDlg confirmation(nullptr);  // its icon is loaded now; it is shown last

  if (!IsWindows95()) {
    ShowMessage(IDS_NOT_WINDOWS_95, MB_OK);
    return FALSE;
  }
  if (!HasDialUpNetworking()) return FALSE;
  WarnUnlessSlipInstalled();
  WarnUnlessBrowserRegistered();
  if (confirmation.DoModal() != IDOK) return FALSE;
  StartSetup();
  return FALSE;
}

bool CInstallApp::IsWindows95() {
  char version[kTextBuffer] = "";
  return ReadMachineValue(kVersionKey, "Version", version) == ReadResult::Read &&
         std::strcmp(version, "Windows 95") == 0;
}

// English systems are tested in the registry; on others the user is asked,
// since the component's description is in the system's own language.
bool CInstallApp::HasDialUpNetworking() {
  if ((GetThreadLocale() & kLanguageMask) != kEnglish) {
    return ShowMessage(IDS_CANNOT_CHECK_DIAL_UP, MB_YESNO) == IDYES;
  }
  char description[kTextBuffer] = "";
  ReadResult read = ReadMachineValue(kDialUpKey, "Description", description);
  bool installed = read == ReadResult::NoValue ||
                   (read == ReadResult::Read && (std::strcmp(description, "Dial-Up Networking") == 0 ||
                                                 std::strcmp(description, "Microsoft Dial-Up Networking") == 0));
  if (!installed) ShowMessage(IDS_NO_DIAL_UP, MB_OK);
  return installed;
}

void CInstallApp::WarnUnlessSlipInstalled() {
  if (MachineKeyExists(kSlipKey)) return;
  CNoSlipDlg warning(nullptr);
  if (warning.DoModal() == IDCANCEL) exit(1);
}

void CInstallApp::WarnUnlessBrowserRegistered() {
  if (HasDefaultBrowser()) return;
  CNoBrowserWarnDlg warning(nullptr);
  if (warning.DoModal() == IDCANCEL) exit(1);
}

// Only "file not found" and "path not found" are reported.
void CInstallApp::StartSetup() {
  UINT started = WinExec(kSetupCommand, SW_SHOW);
  if (started == ERROR_FILE_NOT_FOUND) {
    ShowMessage(IDS_SETUP_FILE_NOT_FOUND, MB_OK);
  } else if (started == ERROR_PATH_NOT_FOUND) {
    ShowMessage(IDS_SETUP_PATH_NOT_FOUND, MB_OK);
  }
}
