// The ways a dial can end, and what the launcher hands the dial-up service.
#include <cstring>

#include "launcher_fixture.h"

namespace corvane::testing {
namespace {

using Status = FakeRemoteAccess::Status;

class DialTest : public LauncherTest {
 protected:
  void RunToTheDial(std::vector<script::Act> failureDialogActs = {}) {
    script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
    if (!failureDialogActs.empty()) script.InDialog(IDD_CONNECT_FAILED, failureDialogActs);
    Run();
  }
};

// Path: immediate failure -> one message box, no waiting window, no hang-up.
TEST_F(DialTest, AFailingFirstStatusQueryShowsConnectionInUseAndNothingElse) {
  ras.givesHandle = false;  // the service refused: the handle stays null
  script.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)}).AnswerBox(IDOK);
  Run();
  ExpectInOrder({"RasDialA \"Device\" notifier=0", "RasGetConnectStatusA -> 6 state=0x2000 error=0",
                 "box owner=none \"Corvane\" \"Error: Connection already in use\" MB_OK -> 1"});
  EXPECT_EQ(transcript.Matching("box").size(), 1u);
  ExpectNo("open 132");
  ExpectNo("RasHangUpA");
  ExpectNo("IcmpSendEcho");
}

// A link already up at the first query goes straight to the probes.
TEST_F(DialTest, ALinkAlreadyUpSkipsThePollLoop) {
  RunToTheDial();
  EXPECT_EQ(ras.statusQueries, 1);
}

// Path: failure while waiting. 0 and 600 keep polling; 678 ends it: the
// failure dialog, then the hang-up, then the waiting window closes.
TEST_F(DialTest, AnErrorWhileWaitingShowsTheFailureDialogThenHangsUp) {
  ras.statuses = {{0, RASCS_OpenPort, 0}, {0, RASCS_PortOpened, PENDING}, {0, RASCS_ConnectDevice, 0},
                  {0, RASCS_ConnectDevice, ERROR_NO_ANSWER}};
  RunToTheDial({user::Press(IDOK)});
  EXPECT_EQ(ras.statusQueries, 4);
  ExpectInOrder({"open 132 \"Corvane\" centred", "RasGetConnectStatusA -> 0 state=0x2 error=678",
                 "open 133 \"Corvane\" centred", "close 133", "RasHangUpA", "close 132"});
  ExpectNo("IcmpSendEcho");
}

// An error in the first answer is acted on only when a later query repeats it.
TEST_F(DialTest, AnErrorInTheFirstAnswerIsActedOnOnlyWhenRepeated) {
  ras.statuses = {{0, RASCS_OpenPort, ERROR_NO_ANSWER}, {0, RASCS_Connected, 0}};
  RunToTheDial();
  EXPECT_EQ(ras.statusQueries, 2);
  ExpectNo("RasHangUpA");
  EXPECT_EQ(processes.commandLines.size(), 1u);
}

// Sound behaviour: a status query that fails while waiting (the service lost
// the connection) ends the wait as a failure instead of polling forever.
TEST_F(DialTest, AStatusQueryFailingWhileWaitingCountsAsAFailure) {
  ras.statuses = {{0, RASCS_OpenPort, 0}, {ERROR_INVALID_HANDLE, 0, 0}};
  RunToTheDial({user::Escape()});
  ExpectInOrder({"open 132 \"Corvane\" centred", "RasGetConnectStatusA -> 6 state=0x0 error=0",
                 "open 133 \"Corvane\" centred", "close 133", "RasHangUpA", "close 132"});
}

// The failure dialog's Help button asks for the same topic each time and
// leaves the dialog open.
TEST_F(DialTest, HelpInTheFailureDialogOpensTheTopicAndKeepsTheDialogOpen) {
  ras.statuses = {{0, RASCS_OpenPort, 0}, {0, RASCS_OpenPort, ERROR_LINE_BUSY}};
  RunToTheDial({user::Press(IDC_HELP_BUTTON), user::Press(IDC_HELP_BUTTON), user::CloseBox()});
  const std::string topic = "WinHelpA \"install.hlp\" 1 0x80844445";
  ExpectInOrder({"press 133:1004", topic, "press 133:1004", topic, "close-box 133", "close 133", "RasHangUpA"});
}

// The dial parameters: the first layout, the entry name whole, everything else empty.
TEST_F(DialTest, TheEntryNameIsPassedWholeAndEveryOtherFieldEmpty) {
  std::string name(255, 'e');
  dir.Write("current.cfg", "[init]\nconnName=" + name + "\nDevIP=10.0.0.9\n");
  RunToTheDial();
  EXPECT_EQ(ras.lastParams.dwSize, 1052u);
  EXPECT_EQ(std::string(ras.lastParams.szEntryName), name);
  for (const char* field : {ras.lastParams.szPhoneNumber, ras.lastParams.szCallbackNumber,
                            ras.lastParams.szUserName, ras.lastParams.szPassword, ras.lastParams.szDomain}) {
    EXPECT_STREQ(field, "");
  }
}

}  // namespace
}  // namespace corvane::testing
