// A real link over a pty line between two network namespaces: RasDialA brings
// it up, pages cross it intact, and the hang-up takes it down again.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "dialup/link_record.h"
#include "dialup/tun_interface.h"
#include "http_get.h"
#include "link_fixture.h"

namespace dialup::testing {
namespace {

const std::string kPage = "<html><body>Device status: ready</body></html>\n";
const std::string kPageUrl = std::string("http://") + kDeviceAddress + "/index.htm";
const std::string kBigUrl = std::string("http://") + kDeviceAddress + "/big.bin";

// Whether another program could take the line now.
bool LineFree(const std::string& device) {
  int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

using LinkJourney = LinkTest;

// Entry names are the user's: blanks, and dashes where options would start.
const std::string kEntry = "--Corvane device";

TEST_F(LinkJourney, PagesCrossTheLinkIntactAndTheHangUpRemovesIt) {
  const std::string big = testbed::Pattern(1 << 20);
  StartDevice({{"/index.htm", kPage}, {"/big.bin", big}});
  AddEntry(kEntry, line_->slavePath());

  HRASCONN handle;
  Dial(kEntry, &handle);
  ASSERT_NE(handle, nullptr);
  RASCONNSTATUSA status = PollLikeLauncher(handle);
  ASSERT_EQ(status.rasconnstate, RASCS_Connected) << "error " << status.dwError;
  EXPECT_STREQ(status.szDeviceType, "serial");
  EXPECT_EQ(status.szDeviceName, line_->slavePath());

  auto record = Record(kEntry);
  ASSERT_TRUE(record);
  EXPECT_TRUE(InterfaceExists(record->interface)) << record->interface;
  EXPECT_FALSE(LineFree(line_->slavePath())) << "the connection process must hold the line";

  // Noise on the line: a run with no END longer than any frame, a bad escape,
  // and a frame that is no IP packet. The link must carry on regardless.
  std::string noise(3000, '\x55');
  noise += "\xC0\x01\xDB\x02\xC0\xC0garbage\xC0";
  ASSERT_EQ(write(line_->master(), noise.data(), noise.size()), static_cast<ssize_t>(noise.size()));

  EXPECT_EQ(testbed::HttpGet(kPageUrl), kPage);
  auto download = testbed::HttpGet(kBigUrl, 30000);
  ASSERT_TRUE(download) << "the 1 MiB download did not complete";
  EXPECT_EQ(download->size(), big.size());
  EXPECT_TRUE(*download == big) << "the 1 MiB download arrived changed";

  EXPECT_EQ(RasHangUpA(handle), 0u);
  ASSERT_TRUE(WaitUntilDown(kEntry));
  EXPECT_FALSE(InterfaceExists(record->interface));
  EXPECT_TRUE(LineFree(line_->slavePath()));
  auto after = Record(kEntry);
  ASSERT_TRUE(after);
  EXPECT_EQ(after->state, RASCS_Disconnected);
  EXPECT_EQ(after->error, ERROR_USER_DISCONNECTION);
  DWORD result = 0;
  Status(handle, &result);
  EXPECT_EQ(result, ERROR_INVALID_HANDLE) << "the handle is dead after the hang-up";
}

}  // namespace
}  // namespace dialup::testing
