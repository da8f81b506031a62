// How attempts end when something is wrong or someone intervenes: the
// modem's answers, a modem that never answers, a hang-up while dialling, a
// line that goes away, a missing entry or device, no permission for the
// interface, and two dialers on one line. Every attempt must end, never leave
// the launcher polling.
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "dialup/link_client.h"
#include "dialup/tun_interface.h"
#include "http_get.h"
#include "link_fixture.h"

namespace dialup::testing {
namespace {

const std::string kPage = "<html>modem link</html>\n";

using LinkFailures = LinkTest;

TEST_F(LinkFailures, TheModemsAnswersEndTheAttemptWithTheirRasErrors) {
  struct Case {
    const char* answer;
    DWORD error;
  };
  for (const Case& c : {Case{"BUSY", ERROR_LINE_BUSY}, Case{"NO CARRIER", ERROR_NO_CARRIER},
                        Case{"NO DIALTONE", ERROR_NO_DIALTONE},
                        Case{"DELAYED 3", ERROR_UNRECOGNIZED_RESPONSE}}) {
    SCOPED_TRACE(c.answer);
    testbed::PtyLine line;
    testbed::FakeModem modem(line.master(), c.answer, 50);
    AddEntry(c.answer, line.slavePath(), "phone=5551234\ninit=ATZ\n");
    HRASCONN handle;
    Dial(c.answer, &handle);
    ASSERT_NE(handle, nullptr);
    RASCONNSTATUSA status = PollLikeLauncher(handle);
    EXPECT_EQ(status.dwError, c.error);
    EXPECT_NE(status.rasconnstate, RASCS_Connected);
    EXPECT_STREQ(status.szDeviceType, "modem");
    EXPECT_TRUE(WaitUntilDown(c.answer)) << "a failed attempt must free the line";
    auto commands = modem.Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands.front(), "ATZ");
    EXPECT_EQ(commands.back(), "ATDT5551234");
    RasHangUpA(handle);
  }
}

// After CONNECT the line carries SLIP: the device's pages come through.
TEST_F(LinkFailures, AModemThatConnectsCarriesTheLink) {
  AddEntry("Device", Line().slavePath(), "phone=5551234\n");
  HRASCONN handle;
  {
    testbed::FakeModem modem(Line().master(), "CONNECT 115200", 50);
    Dial("Device", &handle);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(PollLikeLauncher(handle).rasconnstate, RASCS_Connected);
  }
  StartDevice({{"/index.htm", kPage}});
  EXPECT_EQ(testbed::HttpGet(std::string("http://") + kDeviceAddress + "/index.htm"), kPage);
  RasHangUpA(handle);
  EXPECT_TRUE(WaitUntilDown("Device"));
}

TEST_F(LinkFailures, AModemThatNeverAnswersTimesOutWithNoAnswer) {
  testbed::FakeModem silent(Line().master(), "");
  AddEntry("Device", Line().slavePath(), "phone=5551234\ntimeout=1\n");
  HRASCONN handle;
  std::int64_t start = MonotonicNs();
  Dial("Device", &handle);
  RASCONNSTATUSA status = PollLikeLauncher(handle, 20);
  double seconds = static_cast<double>(MonotonicNs() - start) / 1e9;
  EXPECT_EQ(status.dwError, ERROR_NO_ANSWER);
  // Far from the default of 60 s, and not before the second is up.
  EXPECT_GE(seconds, 1.0);
  EXPECT_LT(seconds, 10.0) << "the entry's dial time-out of 1 s was not kept";
  EXPECT_TRUE(WaitUntilDown("Device"));
  RasHangUpA(handle);
}

// RasHangUpA ends an attempt that is still dialling, and frees the line.
TEST_F(LinkFailures, AHangUpWhileDiallingEndsTheAttempt) {
  testbed::FakeModem silent(Line().master(), "");
  AddEntry("Device", Line().slavePath(), "phone=5551234\n");
  HRASCONN handle;
  Dial("Device", &handle);
  for (int polls = 0; polls < 100 && Status(handle).rasconnstate != RASCS_ConnectDevice; ++polls) {
  }
  ASSERT_EQ(Status(handle).rasconnstate, RASCS_ConnectDevice);
  EXPECT_EQ(RasHangUpA(handle), 0u);
  EXPECT_TRUE(WaitUntilDown("Device", 2000));
  auto record = Record("Device");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->state, RASCS_Disconnected);
  EXPECT_EQ(record->error, ERROR_USER_DISCONNECTION);
}

TEST_F(LinkFailures, ALineThatGoesAwayAfterConnectingIsReportedDisconnected) {
  StartDevice({{"/index.htm", kPage}});
  AddEntry("Device", Line().slavePath());
  HRASCONN handle;
  Dial("Device", &handle);
  ASSERT_EQ(PollLikeLauncher(handle).rasconnstate, RASCS_Connected);
  std::string interface = Record("Device")->interface;

  DropLine();
  RASCONNSTATUSA status{};
  for (int polls = 0; polls < 200; ++polls) {
    status = Status(handle);
    if (status.rasconnstate == RASCS_Disconnected) break;
  }
  EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
  EXPECT_EQ(status.dwError, ERROR_PORT_DISCONNECTED);
  EXPECT_TRUE(WaitUntilDown("Device"));
  EXPECT_FALSE(InterfaceExists(interface));
  RasHangUpA(handle);
}

// The launcher learns of these from the status record: the first query
// succeeds, the next one carries the error.
TEST_F(LinkFailures, AMissingEntryOrDeviceEndsTheAttemptAtOnce) {
  AddEntry("Gone", "/dev/corvane-no-such-line");
  struct Case {
    const char* entry;
    DWORD error;
  };
  for (const Case& c : {Case{"Nowhere", ERROR_CANNOT_FIND_PHONEBOOK_ENTRY},
                        Case{"Gone", ERROR_DEVICE_DOES_NOT_EXIST}}) {
    SCOPED_TRACE(c.entry);
    HRASCONN handle;
    Dial(c.entry, &handle);
    ASSERT_NE(handle, nullptr);
    DWORD result = 1;
    Status(handle, &result);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(PollLikeLauncher(handle).dwError, c.error);
    RasHangUpA(handle);
  }
}

// A dialer without the right to make network interfaces: the attempt fails
// with a RAS error, and one line on stderr tells the person how to fix it.
TEST_F(LinkFailures, NoPermissionForTheInterfaceFailsWithOneLineNamingTheFix) {
  AddEntry("Device", Line().slavePath());
  const std::string errors = home_->path() + "/stderr.txt";
  const std::string result = home_->path() + "/result.txt";
  pid_t child = fork();
  if (child == 0) {
    // Without CAP_NET_ADMIN in the bounding set, the connection program the
    // dial starts cannot have it either, root or not.
    if (prctl(PR_CAPBSET_DROP, CAP_NET_ADMIN, 0, 0, 0) != 0) _exit(3);
    int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, STDERR_FILENO);
    HRASCONN handle;
    Dial("Device", &handle);
    RASCONNSTATUSA status{};
    for (int polls = 0; polls < 400; ++polls) {
      status = Status(handle);
      if (status.rasconnstate == RASCS_Connected || (status.dwError && status.dwError != PENDING))
        break;
    }
    std::ofstream(result) << status.rasconnstate << " " << status.dwError;
    _exit(0);
  }
  int wstatus = 0;
  waitpid(child, &wstatus, 0);
  ASSERT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0) << "status " << wstatus;
  ASSERT_TRUE(WaitUntilDown("Device"));

  DWORD state = 0, error = 0;
  std::ifstream(result) >> state >> error;
  EXPECT_NE(state, RASCS_Connected);
  EXPECT_EQ(error, ERROR_PORT_NOT_AVAILABLE);
  std::ifstream in(errors);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("ip tuntap add dev"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("cap_net_admin"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("633"), std::string::npos) << lines[0];
}

// Two dialers at the same moment: on the same entry they share one link; on
// two entries of one line, one gets the line and the other no handle (602).
TEST_F(LinkFailures, TwoDialersOnOneLineShareTheEntryOrAreRefusedTheLine) {
  StartDevice({{"/index.htm", kPage}});
  AddEntry("Device", Line().slavePath());
  AddEntry("Other", Line().slavePath());

  auto dialTogether = [](const char* a, const char* b, HRASCONN* ha, HRASCONN* hb) {
    DWORD ra = 0, rb = 0;
    std::thread first([&] { ra = Dial(a, ha); });
    std::thread second([&] { rb = Dial(b, hb); });
    first.join();
    second.join();
    return std::pair{ra, rb};
  };

  HRASCONN one, two;
  dialTogether("Device", "Device", &one, &two);
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(PollLikeLauncher(one).rasconnstate, RASCS_Connected);
  EXPECT_EQ(PollLikeLauncher(two).rasconnstate, RASCS_Connected);
  RasHangUpA(one);
  RasHangUpA(two);
  ASSERT_TRUE(WaitUntilDown("Device"));

  auto [ra, rb] = dialTogether("Device", "Other", &one, &two);
  ASSERT_TRUE((one == nullptr) != (two == nullptr)) << "exactly one dialer gets the line";
  EXPECT_EQ(one ? rb : ra, ERROR_PORT_ALREADY_OPEN);
  HRASCONN winner = one ? one : two;
  EXPECT_EQ(PollLikeLauncher(winner).rasconnstate, RASCS_Connected);
  DWORD result = 0;
  Status(nullptr, &result);
  EXPECT_NE(result, 0u) << "the refused dialer's first status query must fail";
  RasHangUpA(winner);
}

}  // namespace
}  // namespace dialup::testing
