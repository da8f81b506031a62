// The pre-checker's resource script, as data.
#include "resources.h"

#include "resource_ids.h"
#include "shared/logo_pictures.h"
#include "win32/user.h"

namespace {
using corvane::res::ControlKind;
using corvane::res::ControlTemplate;
using corvane::res::DialogTemplate;

constexpr WORD kEnglishUS = 1033;
constexpr WORD kEnglishUK = 2057;
constexpr DWORD kDefaultButton = 0x50010001;
constexpr DWORD kButton = 0x50010000;
constexpr DWORD kText = 0x50020000;
constexpr DWORD kCentredText = 0x50020001;
constexpr DWORD kPicture = 0x5000000E;

ControlTemplate Text(const char* text, int x, int y, int cx, int cy) {
  return {IDC_STATIC, ControlKind::Static, text, kText, x, y, cx, cy};
}

DialogTemplate Warning(unsigned id, int cy, std::vector<ControlTemplate> texts) {
  std::vector<ControlTemplate> controls = {{IDOK, ControlKind::PushButton, "OK", kDefaultButton, 195, 5, 50, 14},
                                           {IDCANCEL, ControlKind::PushButton, "Exit", kButton, 195, 25, 50, 14},
                                           Text("WARNING", 15, 7, 50, 13)};
  controls.insert(controls.end(), texts.begin(), texts.end());
  return {static_cast<int>(id), false, kEnglishUK, 0x80C800C0, 0, 0, 0, 0, 252, cy, "Corvane",
          "MS Sans Serif", 8, 0, false, 1, std::move(controls)};
}

std::vector<DialogTemplate> Dialogs() {
  return {
      {static_cast<int>(IDD_INSTALL_DIALOG), true, kEnglishUS, 0x90C000C0, WS_EX_APPWINDOW, 0, 0, 0, 212, 81,
       "Corvane Install", "MS Sans Serif", 8, 0, false, 1,
       {{IDOK, ControlKind::PushButton, "OK", kDefaultButton, 55, 60, 50, 14},
        {IDCANCEL, ControlKind::PushButton, "Cancel", kButton, 115, 60, 50, 14},
        {IDC_STATIC, ControlKind::Static, "This will install a Corvane connection to your device.", kCentredText,
         75, 20, 125, 26},
        {IDC_STATIC, ControlKind::Picture, "", kPicture, 10, 10, 37, 30, IDB_LOGO}}},
      Warning(IDD_NO_SLIP, 108,
              {Text("Your machine does not have SLIP support installed.", 15, 20, 165, 10),
               Text("If you have access to your Windows 95 CD or RNAPLUS.INF and its associated files, Setup "
                    "will install this for you later.",
                    15, 35, 165, 25),
               Text("If you don't have a Windows 95 CD (e.g. Windows 95 came on floppy disks) or access to "
                    "RNAPLUS.INF and its associated files, you will not be able to complete Setup properly, and "
                    "should exit now.",
                    15, 65, 170, 35)}),
      Warning(IDD_NO_BROWSER_WARN, 101,
              {Text("Your machine does not have a default browser installed.", 15, 20, 165, 15),
               Text("If you do have a browser installed, it has not been configured properly, and Corvane will "
                    "not be able to invoke it automatically.",
                    15, 40, 165, 25),
               Text("If you do not have a browser installed, you will need to install one in order to manage "
                    "your device using Corvane.",
                    15, 70, 170, 25)}),
  };
}

corvane::res::ResourceModule Build() {
  corvane::res::ResourceModule module;
  module.name = "readyscan";
  module.dialogs = Dialogs();
  module.stringLanguage = kEnglishUK;
  module.strings = {
      {IDS_CAPTION, "Corvane"},
      {IDS_NOT_WINDOWS_95, "You must use Windows 95 to run this software"},
      {IDS_NO_DIAL_UP,
       "Dial up networking must be installed before you set up your connection.\nPlease install Dial-Up "
       "Networking and re-run this install."},
      {IDS_SETUP_FILE_NOT_FOUND, "Setup file not found."},
      {IDS_SETUP_PATH_NOT_FOUND, "Setup path not found."},
      {IDS_CANNOT_CHECK_DIAL_UP,
       "Setup could not check for Dialup Networking. If Dialup Networking is installed on your machine select "
       "YES to continue. Otherwise select NO to halt this Setup. Then Install Dialup Networking and resume the "
       "Setup."},
  };
  module.icons = {corvane::shared::LogoIcon(128, kEnglishUK)};
  module.bitmaps = {corvane::shared::LogoBitmap(IDB_LOGO, kEnglishUK)};
  module.version = {{1, 0, 0, 1},
                    {1, 0, 0, 1},
                    0x0409,
                    0x04B0,
                    {{"CompanyName", ""},
                     {"FileDescription", "readyscan MFC Application"},
                     {"FileVersion", "1, 0, 0, 1"},
                     {"InternalName", "readyscan"},
                     {"LegalTrademarks", ""},
                     {"OriginalFilename", "readyscan.EXE"},
                     {"ProductName", "readyscan Application"},
                     {"ProductVersion", "1, 0, 0, 1"}}};
  return module;
}
}  // namespace

const corvane::res::ResourceModule& PrecheckResources() {
  static const corvane::res::ResourceModule module = Build();
  return module;
}
