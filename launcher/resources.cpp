// The launcher's resource script, as data.
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
constexpr DWORD kPicture = 0x5000000E;
constexpr DWORD kEdit = 0x50810080;
constexpr DWORD kVisibleWithCloseBox = 0x90C800C0;
constexpr DWORD kHiddenWithCloseBox = 0x80C800C0;
constexpr DWORD kVisibleNoCloseBox = 0x90C000C0;

ControlTemplate Button(int id, const char* text, bool isDefault, int x, int y, int cx, int cy) {
  return {id, ControlKind::PushButton, text, isDefault ? kDefaultButton : kButton, x, y, cx, cy};
}
ControlTemplate Text(int id, const char* text, int x, int y, int cx, int cy) {
  return {id, ControlKind::Static, text, kText, x, y, cx, cy};
}
ControlTemplate Logo(int x, int y, int cx, int cy) {
  return {IDC_STATIC, ControlKind::Picture, "", kPicture, x, y, cx, cy, IDB_LOGO};
}

DialogTemplate Classic(unsigned id, DWORD style, int cx, int cy, const char* caption,
                       std::vector<ControlTemplate> controls) {
  return {static_cast<int>(id), false, kEnglishUK, style, 0, 0, 0, 0, cx, cy, caption,
          "MS Sans Serif", 8, 0, false, 1, std::move(controls)};
}

DialogTemplate MainWindow() {
  DialogTemplate main = Classic(IDD_LAUNCHER_DIALOG, kVisibleWithCloseBox, 242, 77, "Corvane V1.2",
                                {Button(IDOK, "OK", true, 185, 10, 50, 14),
                                 Button(IDCANCEL, "Cancel", false, 185, 30, 50, 14),
                                 Text(IDC_STATIC, "This will connect you via SLIP to your device", 70, 10, 110, 27),
                                 Button(IDC_URL_BUTTON, "URL...", false, 185, 50, 50, 14),
                                 Logo(7, 7, 37, 30),
                                 Text(IDC_URL_LINE, "", 70, 60, 105, 10),
                                 Text(IDC_STATIC, "URL:", 45, 60, 18, 8)});
  main.extended = true;
  main.language = kEnglishUS;
  main.exStyle = WS_EX_APPWINDOW;
  return main;
}

std::vector<DialogTemplate> Dialogs() {
  return {
      MainWindow(),
      Classic(IDD_DEVICE_URL, kHiddenWithCloseBox, 268, 60, "Device URL",
              {Button(IDOK, "OK", true, 80, 40, 50, 14),
               Text(IDC_STATIC, "Device URL:", 7, 17, 56, 8),
               {IDC_DEVICE_URL, ControlKind::Edit, "", kEdit, 66, 15, 195, 14},
               Button(IDCANCEL, "Cancel", false, 140, 40, 50, 14)}),
      Classic(IDD_WAITING, kVisibleNoCloseBox, 177, 55, "Corvane",
              {Text(IDC_STATIC, "Waiting for connection.", 65, 15, 78, 8),
               Logo(5, 5, 48, 44),
               Text(IDC_STATIC, "This may take a few moments...", 65, 30, 105, 8)}),
      Classic(IDD_CONNECT_FAILED, kHiddenWithCloseBox, 227, 46, "Corvane",
              {Button(IDOK, "OK", true, 165, 5, 50, 14),
               Button(IDC_HELP_BUTTON, "Help", false, 165, 25, 50, 14),
               Text(IDC_STATIC, "Unable to connect to device.", 10, 10, 107, 10),
               Text(IDC_STATIC, "Please check your settings and connections.", 10, 25, 150, 12)}),
      Classic(IDD_NO_BROWSER, kHiddenWithCloseBox, 192, 126, "Corvane",
              {Button(IDOK, "OK", true, 135, 5, 50, 14),
               Button(IDCANCEL, "Cancel", false, 135, 25, 50, 14),
               Text(IDC_STATIC, "WARNING", 10, 10, 115, 10),
               Text(IDC_STATIC, "Your system does not have a default browser.", 10, 25, 115, 20),
               Text(IDC_STATIC,
                    "If you have a browser installed, you will have to launch it manually, and enter the "
                    "device's SLIP address as the URL.",
                    10, 50, 115, 35),
               Text(IDC_STATIC,
                    "If you don't have a browser installed, you will not be able to manage your device "
                    "using Corvane",
                    10, 90, 120, 30)}),
  };
}

corvane::res::ResourceModule Build() {
  corvane::res::ResourceModule module;
  module.name = "dialgate";
  module.dialogs = Dialogs();
  module.stringLanguage = kEnglishUK;
  module.strings = {{IDS_CAPTION, "Corvane"},
                    {IDS_INVALID_URL, "Invalid URL.\nPlease check your URL setting and try again."},
                    {IDS_CONNECTION_IN_USE, "Error: Connection already in use"}};
  module.icons = {corvane::shared::LogoIcon(128, kEnglishUK)};
  module.bitmaps = {corvane::shared::LogoBitmap(IDB_LOGO, kEnglishUK)};
  module.version = {{1, 0, 0, 1},
                    {1, 0, 0, 1},
                    0x0409,
                    0x04B0,
                    {{"CompanyName", ""},
                     {"FileDescription", "dialgate MFC Application"},
                     {"FileVersion", "1, 0, 0, 1"},
                     {"InternalName", "dialgate"},
                     {"OriginalFilename", "dialgate.EXE"},
                     {"ProductName", "dialgate Application"},
                     {"ProductVersion", "1, 0, 0, 1"}}};
  return module;
}
}  // namespace

const corvane::res::ResourceModule& LauncherResources() {
  static const corvane::res::ResourceModule module = Build();
  return module;
}
