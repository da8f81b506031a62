#include "dialup/link_record.h"

#include <gtest/gtest.h>

#include "win32/ras.h"

namespace {

TEST(LinkRecord, RoundTripsAndKeepsFieldsOnOneLine) {
  dialup::LinkRecord r;
  r.entry = "Lab\nstate=8192";  // a line break must not forge a field
  r.pid = 4242;
  r.attempt = 0xFEDCBA9876543210ull;
  r.state = RASCS_ConnectDevice;
  r.error = PENDING;
  r.deviceType = "modem";
  r.device = "/dev/pts/7";
  r.interface = "sl0";
  r.local = "10.0.0.1";
  r.remote = "10.0.0.2";
  r.changedNs = 123456789012345;
  auto back = dialup::ParseRecord(dialup::SerializeRecord(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->entry, "Lab state=8192");
  EXPECT_EQ(back->state, RASCS_ConnectDevice);
  EXPECT_EQ(back->attempt, r.attempt);
  EXPECT_EQ(back->pid, 4242);
  EXPECT_EQ(back->error, PENDING);
  EXPECT_EQ(back->device, "/dev/pts/7");
  EXPECT_EQ(back->changedNs, r.changedNs);
  EXPECT_FALSE(dialup::ParseRecord("entry=x\n"));  // no state: not a record
}

TEST(LinkRecord, AnAttemptIsOverWhenDisconnectedOrFailed) {
  auto at = [](DWORD state, DWORD error) {
    dialup::LinkRecord r;
    r.state = state;
    r.error = error;
    return dialup::IsFinished(r);
  };
  EXPECT_FALSE(at(RASCS_ConnectDevice, 0));
  EXPECT_FALSE(at(RASCS_ConnectDevice, PENDING));
  EXPECT_FALSE(at(RASCS_Connected, 0));
  EXPECT_TRUE(at(RASCS_ConnectDevice, ERROR_LINE_BUSY));
  EXPECT_TRUE(at(RASCS_Disconnected, ERROR_PORT_DISCONNECTED));
}

}  // namespace
