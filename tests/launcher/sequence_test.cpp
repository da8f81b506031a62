// The launcher's start-up sequence, path by path: browser lookup, main
// window, dial, probes, launch.
#include "launcher_fixture.h"

namespace corvane::testing {
namespace {

const std::string kBrowserLine = "WinExec \"\\\"/usr/bin/browser\\\" http://10.0.0.9/index.htm\" 5";

// Path: browser found -> main window OK -> link up -> device answers -> browser started.
TEST_F(LauncherTest, TypicalRunOpensTheBrowserOnTheDeviceAndLeavesTheLinkUp) {
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({"text 102:1002 \"http://10.0.0.9/index.htm\"", "open 102 \"Corvane V1.2\" centred",
                 "press 102:1", "close 102", "RasDialA \"Device\" notifier=0",
                 "RasGetConnectStatusA -> 0 state=0x2000 error=0", "open 132 \"Corvane\" centred",
                 "IcmpSendEcho 10.0.0.9 size=8 reply=78 timeout=1000 -> 1 status=0", "close 132",
                 kBrowserLine});
  EXPECT_EQ(icmp.requestData.size(), 3u) << "a device that answers the first request still gets all three";
  EXPECT_EQ(ras.hangUps, 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(icmp.requestData[0].data()), 8),
            std::string("Do Ping\0", 8));
}

// Path: no browser registered -> Cancel on the warning ends the process with status 1.
TEST_F(LauncherTest, CancelOnTheNoBrowserWarningExitsWithStatusOne) {
  registry = FakeRegistry();
  script.InDialog(IDD_NO_BROWSER, {user::Press(IDCANCEL)});
  EXPECT_EXIT(app.InitInstance(), ::testing::ExitedWithCode(1), "");
}

// Escape and the close box are Cancel too; the main window never shows.
TEST_F(LauncherTest, EscapeOrCloseBoxOnTheNoBrowserWarningExitsWithStatusOne) {
  registry = FakeRegistry();
  for (const script::Act& act : {user::Escape(), user::CloseBox()}) {
    UserScript local;
    local.InDialog(IDD_NO_BROWSER, {act});
    script::ScriptWindowSystem scripted{local, transcript};
    EXPECT_EXIT(app.InitInstance(), ::testing::ExitedWithCode(1), "");
  }
}

// Path: no browser -> OK -> main window -> link up -> device answers -> nothing started.
TEST_F(LauncherTest, OkOnTheNoBrowserWarningGoesOnButStartsNoProgram) {
  registry.Set("HKEY_CLASSES_ROOT\\.html", "", "orphanclass");  // class without shell\open\command
  registry.AddKey("HKEY_CLASSES_ROOT\\orphanclass");
  script.InDialog(IDD_NO_BROWSER, {user::Press(IDOK)}).InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({"open 136 \"Corvane\" centred", "close 136", "open 102 \"Corvane V1.2\" centred",
                 "RasDialA \"Device\" notifier=0", "close 132"});
  ExpectNo("WinExec");
  ExpectNo("RasHangUpA");
}

// Path: main window ended any other way than OK -> end, no dial.
TEST_F(LauncherTest, LeavingTheMainWindowOtherwiseThanOkDialsNothing) {
  for (const script::Act& act : {user::Press(IDCANCEL), user::Escape(), user::CloseBox()}) {
    script::Transcript local;
    UserScript localScript;
    localScript.InDialog(IDD_LAUNCHER_DIALOG, {act});
    script::ScriptWindowSystem scripted{localScript, local};
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(local.Matching("RasDialA").empty()) << local.Text();
    EXPECT_TRUE(local.Has("close 102"));
  }
}

// Path: link up -> only the third probe answered -> browser started.
TEST_F(LauncherTest, ADeviceThatAnswersOnlyTheThirdRequestStillGetsTheBrowser) {
  icmp.answers = {{0, IP_REQ_TIMED_OUT}, {1, IP_DEST_HOST_UNREACHABLE}, {1, IP_SUCCESS}};
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({"close 132", kBrowserLine});
  EXPECT_EQ(ras.hangUps, 0);
}

// Path: link up -> no probe answered -> hang-up, then the failure dialog; the
// waiting window closes only after both.
TEST_F(LauncherTest, UnreachableDeviceHangsUpThenShowsTheFailureDialog) {
  icmp.answers = {{0, IP_REQ_TIMED_OUT}, {1, IP_DEST_HOST_UNREACHABLE}, {0, IP_REQ_TIMED_OUT}};
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)}).InDialog(IDD_CONNECT_FAILED, {user::Press(IDOK)});
  Run();
  ExpectInOrder({"open 132 \"Corvane\" centred",
                 "IcmpSendEcho 10.0.0.9 size=8 reply=78 timeout=1000 -> 1 status=11003", "RasHangUpA", "open 133 \"Corvane\" centred",
                 "close 133", "close 132"});
  EXPECT_EQ(icmp.requestData.size(), 3u);
  ExpectNo("WinExec");
}

// No ICMP handle: every probe fails without sending anything.
TEST_F(LauncherTest, NoIcmpHandleCountsAsUnreachable) {
  icmp.handleAvailable = false;
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)}).InDialog(IDD_CONNECT_FAILED, {user::Escape()});
  Run();
  EXPECT_TRUE(icmp.requestData.empty());
  ExpectInOrder({"RasHangUpA", "open 133 \"Corvane\" centred"});
}

// A URL changed through "URL..." before OK is the one opened.
TEST_F(LauncherTest, AUrlChangedBeforeOkIsTheOneOpened) {
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDC_URL_BUTTON), user::Press(IDOK)})
      .InDialog(IDD_DEVICE_URL, {user::Type(IDC_DEVICE_URL, "10.0.0.7/setup"), user::Press(IDOK)});
  Run();
  ExpectInOrder({"text 102:1002 \"10.0.0.7/setup\"", "IcmpSendEcho 10.0.0.7 size=8 reply=78 timeout=1000 -> 1 status=0",
                 "WinExec \"\\\"/usr/bin/browser\\\" 10.0.0.7/setup\" 5"});
}

TEST_F(LauncherTest, ACommandWithoutPlaceholderGetsTheUrlGluedToItsLastArgument) {
  SetBrowserCommand("/usr/bin/browser --url=");
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  Run();
  ExpectInOrder({"WinExec \"/usr/bin/browser --url=http://10.0.0.9/index.htm\" 5"});
}

// Sound behaviour: a command and URL together longer than 255 characters are
// started whole, neither cut nor overflowing a buffer.
TEST_F(LauncherTest, ALongCommandLineIsStartedWhole) {
  std::string program = "/opt/" + std::string(200, 'b') + "/browser ";
  SetBrowserCommand(program + "%1");
  std::string url = "http://10.0.0.9/" + std::string(200, 'p');
  dir.Write("current.cfg", "[init]\nconnName=Device\nDevIP=10.0.0.9\nDevURL=" + url + "\n");
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  Run();
  ASSERT_EQ(processes.commandLines.size(), 1u);
  EXPECT_EQ(processes.commandLines[0], program + url);
}

// With no settings file, the URL line is empty and the empty entry name is dialled.
TEST_F(LauncherTest, WithoutASettingsFileTheEmptyEntryIsDialled) {
  std::remove(dir.File("current.cfg").c_str());
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)}).InDialog(IDD_CONNECT_FAILED, {user::Press(IDOK)});
  icmp.answers = {{0, IP_REQ_TIMED_OUT}};
  Run();
  ExpectInOrder({"text 102:1002 \"\"", "RasDialA \"\" notifier=0", "IcmpSendEcho 0.0.0.0 size=8 reply=78 timeout=1000 -> 0 status=11010"});
}

// F1 reaches the application's standard Help command.
TEST_F(LauncherTest, HelpKeyAsksForTheTopicOfTheActiveDialog) {
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::HelpKey(), user::Press(IDCANCEL)});
  Run();
  ExpectInOrder({"help-key 102", "WinHelpA \"/opt/corvane/dialgate.hlp\" 1 0x20066"});
}

}  // namespace
}  // namespace corvane::testing
