// IcmpSendEcho against real peers in network namespaces, on both socket kinds.
#include <sstream>
#include <thread>

#include "echo_probe.h"

namespace {

using Kind = SocketKind;

std::string ExpectedProcName(Kind kind) { return kind == Kind::Raw ? "raw" : "datagram"; }

TEST_P(EchoNetwork, AnsweringPeerGivesOneRecordWithOurData) {
  for (const char* target : {kPeer, "127.0.0.1"}) {
    SCOPED_TRACE(target);
    const ProbeResult r = ProbeFrom(*client_, {.destination = target});
    ASSERT_EQ(r.failure, "");
    ASSERT_TRUE(r.created);
    EXPECT_EQ(r.socketKind, ExpectedProcName(GetParam()));
    ASSERT_EQ(r.count, 1u) << "last error " << r.lastError;
    EXPECT_EQ(r.status, IP_SUCCESS);
    EXPECT_EQ(r.address, target);
    EXPECT_EQ(r.dataSize, 8);
    EXPECT_TRUE(r.dataInsideBuffer);
    EXPECT_EQ(r.data, kDoPing);
    EXPECT_TRUE(r.guardIntact);
    EXPECT_LT(r.elapsedMs, 500);
    EXPECT_TRUE(r.closed);
  }
}

TEST_P(EchoNetwork, SilentAddressTimesOutAfterTheTimeOut) {
  const ProbeResult r = ProbeFrom(*client_, {.destination = kSilent});
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(r.count, 0u);
  EXPECT_EQ(r.lastError, IP_REQ_TIMED_OUT);
  EXPECT_GE(r.elapsedMs, 999);
  EXPECT_LT(r.elapsedMs, 1500);
  EXPECT_TRUE(r.guardIntact);
}

// Each ICMP error for our request ends the wait at once, as one record whose
// status says what went wrong and whose address is the node that said so.
TEST_P(EchoNetwork, IcmpErrorsComeBackAsOneRecordAtOnce) {
  struct Case {
    const char* what;
    const char* destination;
    std::optional<UCHAR> ttl;
    ULONG status;
  };
  const Case cases[] = {
      {"unreachable route", "10.77.9.9", std::nullopt, IP_DEST_HOST_UNREACHABLE},
      {"prohibited route", "10.77.10.9", std::nullopt, IP_DEST_HOST_UNREACHABLE},
      {"TTL 1 through the peer", "10.77.8.9", UCHAR{1}, IP_TTL_EXPIRED_TRANSIT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProbeResult r = ProbeFrom(*client_, {.destination = c.destination, .ttl = c.ttl});
    ASSERT_EQ(r.failure, "");
    ASSERT_EQ(r.count, 1u) << "last error " << r.lastError << " after " << r.elapsedMs << " ms";
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.address, kPeer);
    EXPECT_LT(r.elapsedMs, 500);
    EXPECT_TRUE(r.guardIntact);
  }
}

// A request the client's own stack will not send fails at once, with no
// record and the reason as last error.
TEST_P(EchoNetwork, RequestWithoutRouteFailsAtOnce) {
  struct Case {
    const char* what;
    const char* destination;
    DWORD error;
  };
  const Case cases[] = {
      {"no route", "10.77.5.9", IP_DEST_NET_UNREACHABLE},
      {"unreachable route", "10.77.7.9", IP_DEST_HOST_UNREACHABLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProbeResult r = ProbeFrom(*client_, {.destination = c.destination});
    ASSERT_EQ(r.failure, "");
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(r.lastError, c.error);
    EXPECT_LT(r.elapsedMs, 100);
    EXPECT_TRUE(r.guardIntact);
  }
}

long InEchos(const netns::Namespace& ns) {
  const netns::CommandResult snmp = ns.TryExec({"cat", "/proc/net/snmp"});
  std::istringstream in(snmp.output);
  std::string names, values;
  while (std::getline(in, names) && std::getline(in, values)) {
    if (names.rfind("Icmp:", 0) != 0) continue;
    std::istringstream n(names), v(values);
    std::string name, value;
    while (n >> name && v >> value) {
      if (name == "InEchos") return std::stol(value);
    }
  }
  return -1;
}

// Another process floods the same peer with pings while we probe: its replies
// reach a raw socket too, yet neither count as ours nor stretch our wait, and
// a handle left open a while before its send still gets its answer through.
TEST_P(EchoNetwork, FloodOfOtherPingsIsIgnored) {
  netns::Child flood = client_->StartCommand({"ping", "-f", "-q", "-w", "10", kPeer});
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long echosBefore = InEchos(*peer_);

  const ProbeResult silent = ProbeFrom(*client_, {.destination = kSilent});
  const ProbeResult answered =
      ProbeFrom(*client_, {.destination = kPeer, .pauseBeforeSendMs = 300});

  const long echosDuring = InEchos(*peer_) - echosBefore;
  flood.Stop();
  ASSERT_GT(echosDuring, 200) << "the flood did not run";

  ASSERT_EQ(silent.failure, "");
  EXPECT_EQ(silent.count, 0u);
  EXPECT_EQ(silent.lastError, IP_REQ_TIMED_OUT);
  EXPECT_GE(silent.elapsedMs, 999);
  EXPECT_LT(silent.elapsedMs, 1500);

  ASSERT_EQ(answered.failure, "");
  ASSERT_EQ(answered.count, 1u) << "last error " << answered.lastError << " after "
                                << answered.elapsedMs << " ms";
  EXPECT_EQ(answered.status, IP_SUCCESS);
  EXPECT_EQ(answered.address, kPeer);
  EXPECT_EQ(answered.data, kDoPing);
}

INSTANTIATE_TEST_SUITE_P(BothSocketKinds, EchoNetwork,
                         ::testing::Values(Kind::Datagram, Kind::Raw),
                         [](const auto& info) { return KindName(info.param); });

}  // namespace
