// What the ICMP calls promise their callers beyond a plain echo: handle
// checks, reply buffer sizes, WSAStartup, and the one-line hint when no ICMP
// socket can be had.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "echo_probe.h"

namespace {

class IcmpCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_NETWORK_NAMESPACES();
    ns_ = std::make_unique<netns::Namespace>("icmp-lo");
  }
  std::unique_ptr<netns::Namespace> ns_;
};

// Inside the namespace: the outcome of each call as "count/last error".
std::string Outcome(DWORD count) {
  return std::to_string(count) + "/" + std::to_string(GetLastError());
}

TEST_F(IcmpCalls, HandlesThatAreNotOpenAreRefused) {
  const netns::ChildResult r = ns_->Run([] {
    char data[8] = "Do Ping";
    unsigned char reply[78];
    const IPAddr loopback = AddressOf("127.0.0.1");
    HANDLE closed = IcmpCreateFile();
    IcmpCloseHandle(closed);
    std::string text;
    for (HANDLE h : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, closed, HANDLE(&text)}) {
      text += Outcome(IcmpSendEcho(h, loopback, data, 8, nullptr, reply, 78, 1000)) + " ";
    }
    SetLastError(0);
    const BOOL closedAgain = IcmpCloseHandle(closed);  // read the error only after the call
    text += std::to_string(closedAgain) + "/" + std::to_string(GetLastError());
    return text;
  });
  ASSERT_TRUE(r.ok()) << r.text;
  EXPECT_EQ(r.text, "0/6 0/6 0/6 0/6 0/6");
}

// The buffer must hold one record, the request data and 8 bytes more; below
// that nothing is sent and the call fails with IP_BUF_TOO_SMALL.
TEST_F(IcmpCalls, ReplyBufferMustHoldRecordDataAndEightBytes) {
  const std::size_t minimum = sizeof(ICMP_ECHO_REPLY) + 8 + 8;
  struct Case {
    DWORD size;
    DWORD count;
    DWORD error;
  };
  const Case cases[] = {
      {0, 0, IP_BUF_TOO_SMALL},
      {sizeof(ICMP_ECHO_REPLY), 0, IP_BUF_TOO_SMALL},
      {DWORD(minimum - 1), 0, IP_BUF_TOO_SMALL},
      {DWORD(minimum), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const ProbeResult r = ProbeFrom(*ns_, {.destination = "127.0.0.1", .replySize = c.size});
    ASSERT_EQ(r.failure, "");
    EXPECT_EQ(r.count, c.count);
    if (c.count == 0) {
      EXPECT_EQ(r.lastError, c.error);
    } else {
      EXPECT_EQ(r.data, kDoPing);
    }
    EXPECT_TRUE(r.guardIntact);
  }
}

TEST_F(IcmpCalls, MissingBuffersAreInvalidParameters) {
  const netns::ChildResult r = ns_->Run([] {
    char data[8] = "Do Ping";
    unsigned char reply[78];
    const IPAddr loopback = AddressOf("127.0.0.1");
    HANDLE h = IcmpCreateFile();
    std::string text = Outcome(IcmpSendEcho(h, loopback, data, 8, nullptr, nullptr, 78, 1000));
    text += " " + Outcome(IcmpSendEcho(h, loopback, nullptr, 8, nullptr, reply, 78, 1000));
    // No data at all is a legal request.
    text += " " + std::to_string(IcmpSendEcho(h, loopback, nullptr, 0, nullptr, reply, 78, 1000));
    IcmpCloseHandle(h);
    return text;
  });
  ASSERT_TRUE(r.ok()) << r.text;
  EXPECT_EQ(r.text, "0/87 0/87 1");
}

TEST(WsaStartup, FillsTheRecordForVersionOneOne) {
  WSADATA data;
  std::memset(&data, 0xCC, sizeof data);
  ASSERT_EQ(WSAStartup(0x0101, &data), 0);
  EXPECT_EQ(data.wVersion, 0x0101);
  EXPECT_EQ(data.wHighVersion, 0x0202);
  EXPECT_NE(std::strlen(data.szDescription), 0u);
  EXPECT_LT(std::strlen(data.szDescription), sizeof data.szDescription);
  EXPECT_LT(std::strlen(data.szSystemStatus), sizeof data.szSystemStatus);
  EXPECT_GT(data.iMaxSockets, 0);
  EXPECT_NE(WSAStartup(0x0101, nullptr), 0);
  EXPECT_NE(WSAStartup(0x0000, &data), 0);
}

bool DropRawSocketCapability() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct caps[2]{};
  if (syscall(SYS_capget, &header, caps) != 0) return false;
  for (auto& c : caps) {
    c.effective &= ~(1u << CAP_NET_RAW);
    c.permitted &= ~(1u << CAP_NET_RAW);
  }
  return syscall(SYS_capset, &header, caps) == 0;
}

// Neither a ping socket (the group is outside ping_group_range) nor a raw one
// (no CAP_NET_RAW): no handle, and one line on stderr that says how to fix
// it, however often the program tries.
TEST_F(IcmpCalls, WithoutAnySocketOneLineSaysHowToFixIt) {
  SelectSocketKind(*ns_, SocketKind::Raw);
  const netns::ChildResult r = ns_->Run([] {
    if (!DropRawSocketCapability()) return std::string("cannot drop CAP_NET_RAW");
    int captured[2];
    if (pipe(captured) != 0) return std::string("pipe");
    const int savedStderr = dup(STDERR_FILENO);
    dup2(captured[1], STDERR_FILENO);
    std::string handles;
    for (int i = 0; i < 3; ++i) {
      handles += IcmpCreateFile() == INVALID_HANDLE_VALUE ? "none/" : "handle/";
      handles += std::to_string(GetLastError()) + " ";
    }
    dup2(savedStderr, STDERR_FILENO);
    close(captured[1]);
    std::string text;
    char chunk[1024];
    for (ssize_t n; (n = read(captured[0], chunk, sizeof chunk)) > 0;) text.append(chunk, n);
    return handles + "\n" + text;
  });
  ASSERT_TRUE(r.ok()) << r.text;
  const std::string handles = r.text.substr(0, r.text.find('\n'));
  const std::string hint = r.text.substr(r.text.find('\n') + 1);
  EXPECT_EQ(handles, "none/5 none/5 none/5 ");
  EXPECT_EQ(std::count(hint.begin(), hint.end(), '\n'), 1) << hint;
  EXPECT_NE(hint.find("net.ipv4.ping_group_range"), std::string::npos) << hint;
  EXPECT_NE(hint.find("setcap cap_net_raw+ep /"), std::string::npos) << hint;
}

}  // namespace
