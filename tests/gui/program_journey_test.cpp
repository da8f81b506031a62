// The real programs under Xvfb, used as a person uses them: windows found by
// their titles, mouse clicks and keys through XTest, results read from the
// files the programs leave behind.
#include <FL/Fl.H>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/fltk_window_system.h"
#include "gui_session.h"
#include "program_run.h"
#include "resource_ids.h"
#include "resources.h"

namespace corvane::guitest {
namespace {

using namespace std::chrono_literals;

// A hive with a registered browser, so dialgate goes straight to its main window.
constexpr const char* kBrowserHive =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.html]\r\n@=\"htmlfile\"\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\r\n@=\"/bin/true \\\"%1\\\"\"\r\n";

struct Rect {
  int x, y, width, height;
};

// Pixels of one rectangle of a capture, row by row.
std::vector<std::uint32_t> Pixels(const Capture& capture, const Rect& r) {
  std::vector<std::uint32_t> pixels;
  for (int y = r.y; y < r.y + r.height && y < capture.height; ++y)
    for (int x = r.x; x < r.x + r.width && x < capture.width; ++x) pixels.push_back(capture.At(x, y));
  return pixels;
}

class ProgramJourneyTest : public GuiTest {
 protected:
  std::map<std::string, std::string> Environment() const {
    return {{"DISPLAY", Gui().server.DisplayName()},
            {"HOME", home_.path().string()},
            {"XDG_CONFIG_HOME", (home_.path() / "config").string()},
            {"XDG_DATA_HOME", (home_.path() / "data").string()},
            {"LANG", "en_US.UTF-8"},
            {"LC_ALL", ""},
            {"LC_MESSAGES", ""}};
  }
  std::filesystem::path WorkFolder() const { return home_.path() / "work"; }

  // Waits for a window of ours with this title and puts the pointer on it.
  std::optional<Window> WaitForWindow(const std::string& title) {
    PumpUntil([&] { return User().FindWindow(title).has_value(); }, 10s);
    auto window = User().FindWindow(title);
    if (window) {
      const WindowBox box = User().Box(*window);
      User().MovePointer(box.x + box.width / 2, box.y + 2);
    }
    return window;
  }
  bool WaitUntilGone(const std::string& title) {
    return PumpUntil([&] { return !User().FindWindow(title); }, 10s);
  }

  // A control's rectangle in window pixels, converted as the windows convert it.
  static Rect ControlRect(const res::DialogTemplate& dialog, int controlId) {
    const res::ControlTemplate* control = dialog.FindControl(controlId);
    if (!control) throw std::runtime_error("no control " + std::to_string(controlId));
    const ui::BaseUnits u = ui::FltkDialogBaseUnits(dialog.pointSize);
    return {u.ToPixelsX(control->x), u.ToPixelsY(control->y), u.ToPixelsX(control->cx),
            u.ToPixelsY(control->cy)};
  }
  void ClickControl(Window window, const res::DialogTemplate& dialog, int controlId) {
    const WindowBox box = User().Box(window);
    const Rect r = ControlRect(dialog, controlId);
    User().Click(box.x + r.x + r.width / 2, box.y + r.y + r.height / 2);
  }

  // How our own FLTK windows draw the main window's URL line holding `url`:
  // the same code and fonts on the same server draw what dialgate draws.
  std::vector<std::uint32_t> UrlLineShowing(const std::string& url) {
    const res::DialogTemplate& dialog = *LauncherResources().FindDialog(IDD_LAUNCHER_DIALOG);
    RecordingHost host;
    auto native = Windows().CreateDialogWindow(dialog, LauncherResources(), host);
    host.Attach(native.get());
    native->SetControlText(IDC_URL_LINE, url);
    native->MoveTo(0, 0);
    native->Show();
    PumpFor(50ms);
    const Window xid = *User().FindWindow(dialog.caption);
    return Pixels(User().Grab(xid), ControlRect(dialog, IDC_URL_LINE));
  }

  ScratchFolder home_;
};

TEST_F(ProgramJourneyTest, DialgateStoresTheUrlTypedInTheDeviceUrlDialogAndShowsIt) {
  const std::string oldUrl = "http://10.0.0.1/", newUrl = "http://192.168.7.2/status";
  const auto oldLine = UrlLineShowing(oldUrl), newLine = UrlLineShowing(newUrl);
  ASSERT_NE(oldLine, newLine);
  home_.Write("work/current.cfg", "[init]\r\nDevURL=" + oldUrl +
                                      "\r\nDevIP=10.0.0.1\r\nconnName=Device\r\n");
  home_.Write("config/corvane/registry.reg", kBrowserHive);
  const res::DialogTemplate& mainTemplate = *LauncherResources().FindDialog(IDD_LAUNCHER_DIALOG);
  const res::DialogTemplate& urlTemplate = *LauncherResources().FindDialog(IDD_DEVICE_URL);

  ProgramRun dialgate(DIALGATE_PROGRAM, WorkFolder(), Environment());
  const auto mainWindow = WaitForWindow(mainTemplate.caption);
  ASSERT_TRUE(mainWindow) << "dialgate's main window did not appear";
  const ui::Size screen = Windows().ScreenSize();
  const WindowBox mainBox = User().Box(*mainWindow);
  EXPECT_EQ(mainBox.x, (screen.width - mainBox.width) / 2);
  EXPECT_EQ(mainBox.y, (screen.height - mainBox.height) / 2);
  // A main window: a taskbar entry and icon 128 for both icon sizes.
  EXPECT_EQ(User().WindowType(*mainWindow), "_NET_WM_WINDOW_TYPE_NORMAL");
  EXPECT_EQ(User().IconSizes(*mainWindow), (std::vector<std::string>{"32x32", "32x32"}));
  const Rect urlLine = ControlRect(mainTemplate, IDC_URL_LINE);
  // Mapped comes a moment before drawn: wait for the picture.
  EXPECT_TRUE(PumpUntil([&] { return Pixels(User().Grab(*mainWindow), urlLine) == oldLine; }, 5s))
      << "the stored URL is not shown";

  ClickControl(*mainWindow, mainTemplate, IDC_URL_BUTTON);
  const auto urlDialog = WaitForWindow(urlTemplate.caption);
  ASSERT_TRUE(urlDialog) << "\"URL...\" opened no Device URL dialog";
  const WindowBox urlBox = User().Box(*urlDialog);
  EXPECT_EQ(urlBox.x, (screen.width - urlBox.width) / 2);
  EXPECT_EQ(urlBox.y, (screen.height - urlBox.height) / 2);
  EXPECT_EQ(User().WindowType(*urlDialog), "_NET_WM_WINDOW_TYPE_DIALOG");
  ClickControl(*urlDialog, urlTemplate, IDC_DEVICE_URL);
  User().Key(XK_End);
  for (std::size_t i = 0; i < oldUrl.size(); ++i) User().Key(XK_BackSpace);

  // A host that is no dotted address is refused in a message box that
  // belongs to the dialog; the dialog stays open for another try.
  User().Type("http://device.local/");
  User().Key(XK_Return);
  const auto refusal = WaitForWindow("Corvane");
  ASSERT_TRUE(refusal) << "an invalid URL was not refused";
  EXPECT_EQ(User().TransientFor(*refusal), *urlDialog);
  User().Key(XK_Return);
  ASSERT_TRUE(WaitUntilGone("Corvane"));
  ASSERT_TRUE(User().FindWindow(urlTemplate.caption)) << "the refusal ended the Device URL dialog";
  EXPECT_EQ(home_.Read("work/current.cfg").find("device.local"), std::string::npos);

  const WindowBox fieldAt = User().Box(*urlDialog);
  User().MovePointer(fieldAt.x + fieldAt.width / 2, fieldAt.y + 2);
  ClickControl(*urlDialog, urlTemplate, IDC_DEVICE_URL);
  User().Key(XK_End);
  for (int i = 0; i < 20; ++i) User().Key(XK_BackSpace);
  User().Type(newUrl);
  User().Key(XK_Return);
  ASSERT_TRUE(WaitUntilGone(urlTemplate.caption)) << "OK did not end the Device URL dialog";

  EXPECT_TRUE(PumpUntil([&] { return Pixels(User().Grab(*mainWindow), urlLine) == newLine; }, 5s))
      << "the main window's URL line does not show the new URL";
  User().Key(XK_Escape);
  EXPECT_TRUE(dialgate.WaitForExit(10s).has_value()) << "Escape did not end dialgate";

  const std::string settings = home_.Read("work/current.cfg");
  EXPECT_NE(settings.find("DevURL=" + newUrl), std::string::npos) << settings;
  EXPECT_NE(settings.find("DevIP=192.168.7.2"), std::string::npos) << settings;
  EXPECT_NE(settings.find("connName=Device"), std::string::npos) << settings;
  const std::string shortcut = home_.Read("work/corvLink.url");
  EXPECT_NE(shortcut.find("[InternetShortcut]"), std::string::npos) << shortcut;
  EXPECT_NE(shortcut.find("URL=" + newUrl), std::string::npos) << shortcut;
}

TEST_F(ProgramJourneyTest, ReadyscanOnAMachineThatPassesEveryCheckStartsTheSetupProgram) {
  std::ifstream sample(std::filesystem::path(CORVANE_SOURCE_DIR) / "samples" / "registry.reg");
  std::stringstream hive;
  hive << sample.rdbuf();
  ASSERT_FALSE(hive.str().empty()) << "no sample hive";
  home_.Write("config/corvane/registry.reg", hive.str());
  const auto setup = home_.Write("work/install/disk1/Setup.exe",
                                 "#!/bin/sh\necho \"$PWD\" > setup-started\n");
  std::filesystem::permissions(setup, std::filesystem::perms::owner_all);

  ProgramRun readyscan(READYSCAN_PROGRAM, WorkFolder(), Environment());
  const auto mainWindow = WaitForWindow("Corvane Install");
  ASSERT_TRUE(mainWindow) << "readyscan's main dialog did not appear";
  const ui::Size screen = Windows().ScreenSize();
  const WindowBox box = User().Box(*mainWindow);
  EXPECT_EQ(box.x, (screen.width - box.width) / 2);
  EXPECT_EQ(box.y, (screen.height - box.height) / 2);
  const auto functions = User().MotifFunctions(*mainWindow);
  ASSERT_TRUE(functions);
  EXPECT_FALSE(*functions & kMotifFunctionClose) << "the main dialog offers a close box";

  User().Key(XK_Return);  // OK is the default button
  EXPECT_TRUE(readyscan.WaitForExit(10s).has_value()) << "Enter did not end readyscan";
  EXPECT_TRUE(PumpUntil([&] { return !home_.Read("work/setup-started").empty(); }, 5s))
      << "the setup program was not started";
  EXPECT_EQ(home_.Read("work/setup-started"), WorkFolder().string() + "\n");
}

}  // namespace
}  // namespace corvane::guitest
