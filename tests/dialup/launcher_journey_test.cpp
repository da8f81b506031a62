// The launcher's journey over a real link: main window, dial, probes, browser.
#include "dialup/link_client.h"
#include "dialup/tun_interface.h"
#include "launcher_link_fixture.h"

namespace dialup::testing {
namespace {

TEST_F(LauncherOverLink, OpensTheDevicePageAndLeavesTheLinkUpForTheServiceToEnd) {
  StartDevice({{"/index.htm", kDevicePage}});
  AddEntry("Device", Line().slavePath());
  WriteSettings("Device");

  auto windows = [](const script::Transcript& transcript) {
    EXPECT_TRUE(transcript.HasInOrder({"close 102", "open 132 \"Corvane\" centred", "close 132"}))
        << transcript.Text();
    EXPECT_TRUE(transcript.Matching("open 133").empty()) << transcript.Text();
    EXPECT_TRUE(transcript.Matching("box").empty()) << transcript.Text();
  };
  EXPECT_TRUE(RunLauncherProcess(windows)) << "the launcher's run failed; see above";
  EXPECT_EQ(FetchedPage(), kDevicePage);

  auto record = Record("Device");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->state, RASCS_Connected) << "the link must outlive the launcher's run";
  EXPECT_TRUE(ConnectionProcessAlive(RuntimeDirectory(), "Device"));
  EXPECT_TRUE(InterfaceExists(record->interface));

  // People see and end the link with the service's own command.
  const std::string command = ProgramBeside("corvane-dial");
  std::string said;
  EXPECT_EQ(testbed::Run({command, "status", "Device"}, &said), 0) << said;
  EXPECT_NE(said.find("connected on " + record->interface), std::string::npos) << said;
  EXPECT_EQ(testbed::Run({command, "hangup", "Device"}, &said), 0) << said;
  EXPECT_TRUE(WaitUntilDown("Device"));
  EXPECT_EQ(testbed::Run({command, "status", "Device"}, &said), 1) << said;
  EXPECT_FALSE(InterfaceExists(record->interface));
}

TEST_F(LauncherOverLink, ARunWhileTheLinkIsUpGoesStraightToTheProbesOnTheSameLink) {
  StartDevice({{"/index.htm", kDevicePage}});
  AddEntry("Device", Line().slavePath());
  WriteSettings("Device");
  script::Transcript first;
  RunLauncher(first);
  ASSERT_EQ(FetchedPage(), kDevicePage);
  auto before = Record("Device");
  ASSERT_TRUE(before);

  script::Transcript second;
  RunLauncher(second);
  EXPECT_EQ(FetchedPage(), kDevicePage);
  auto after = Record("Device");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->attempt, before->attempt) << "the second run must not dial a new link";
  EXPECT_EQ(after->pid, before->pid);
  EXPECT_EQ(after->state, RASCS_Connected);
}

// The launcher's wait has no time-out of its own: the service's dial
// time-out must end it, with the failure dialog and then the hang-up.
TEST_F(LauncherOverLink, AModemThatNeverAnswersEndsTheWaitWithTheFailureDialog) {
  testbed::FakeModem silent(Line().master(), "");
  AddEntry("Device", Line().slavePath(), "phone=5551234\ntimeout=1\n");
  WriteSettings("Device");
  script::Transcript transcript;
  RunLauncher(transcript, [](script::UserScript& s) {
    s.InDialog(IDD_CONNECT_FAILED, {user::Press(IDOK)});
  });
  EXPECT_TRUE(transcript.HasInOrder({"open 132 \"Corvane\" centred", "open 133 \"Corvane\" centred",
                                     "close 133", "close 132"}))
      << transcript.Text();
  EXPECT_TRUE(WaitUntilDown("Device"));
  auto record = Record("Device");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->error, ERROR_NO_ANSWER);
  EXPECT_TRUE(FetchedPage(200).empty()) << "no browser may start after a failed dial";
}

// A line with nothing on the far end comes up (a direct line has nobody to
// answer the dial), but no echo request is answered: the link is hung up
// before the failure dialog shows, and nothing is started.
TEST_F(LauncherOverLink, ADeviceThatNeverAnswersIsHungUpBeforeTheFailureDialog) {
  AddEntry("Device", Line().slavePath());
  WriteSettings("Device");
  bool downWhileDialogShown = false;
  auto linkIsDown = user::Check([&](const script::ScriptedDialog&) {
    downWhileDialogShown = WaitUntilDown("Device", 2000);
  });
  script::Transcript transcript;
  RunLauncher(transcript, [&](script::UserScript& s) {
    s.InDialog(IDD_CONNECT_FAILED, {linkIsDown, user::Press(IDOK)});
  });
  EXPECT_TRUE(downWhileDialogShown) << "the hang-up must come before the failure dialog";
  EXPECT_TRUE(transcript.HasInOrder({"open 132 \"Corvane\" centred", "open 133 \"Corvane\" centred",
                                     "close 133", "close 132"}))
      << transcript.Text();
  EXPECT_TRUE(FetchedPage(200).empty());
  auto record = Record("Device");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->error, ERROR_USER_DISCONNECTION);
}

// Another entry on a line that is in use: the first status query fails, so
// the launcher says the connection is in use; the link holding the line stays.
TEST_F(LauncherOverLink, ASecondEntryOnALineInUseIsRefusedAndTheFirstLinkStays) {
  StartDevice({{"/index.htm", kDevicePage}});
  AddEntry("Device", Line().slavePath());
  AddEntry("Other", Line().slavePath());
  HRASCONN first;
  Dial("Device", &first);
  ASSERT_EQ(PollLikeLauncher(first).rasconnstate, RASCS_Connected);

  WriteSettings("Other");
  script::Transcript transcript;
  RunLauncher(transcript, [](script::UserScript& s) { s.AnswerBox(IDOK); });
  EXPECT_TRUE(transcript.Has(
      "box owner=none \"Corvane\" \"Error: Connection already in use\" MB_OK -> 1"))
      << transcript.Text();
  EXPECT_TRUE(transcript.Matching("open 132").empty()) << transcript.Text();
  EXPECT_TRUE(ConnectionProcessAlive(RuntimeDirectory(), "Device"));
  EXPECT_EQ(Status(first).rasconnstate, RASCS_Connected);
  RasHangUpA(first);
}

}  // namespace
}  // namespace dialup::testing
