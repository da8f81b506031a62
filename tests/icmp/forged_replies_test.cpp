// A peer whose kernel stays silent and whose answers we write by hand: it
// shows what the request looked like on the wire, and sends replies that
// are almost ours (bad checksum, other identifier, other sequence number,
// other source, not a reply at all) before, or instead of, the right one;
// or it answers slowly, so that several requests are outstanding at once.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <thread>
#include <vector>

#include "echo_probe.h"

namespace {

std::uint16_t Checksum(const std::string& bytes) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto hi = static_cast<unsigned char>(bytes[i]);
    const auto lo = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    sum += (hi << 8) | lo;
  }
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::string IcmpMessage(std::uint8_t type, std::uint16_t id, std::uint16_t seq,
                        const std::string& data, bool spoilChecksum = false) {
  std::string m(8, '\0');
  m[0] = static_cast<char>(type);
  m[4] = static_cast<char>(id >> 8);
  m[5] = static_cast<char>(id);
  m[6] = static_cast<char>(seq >> 8);
  m[7] = static_cast<char>(seq);
  m += data;
  std::uint16_t sum = Checksum(m);
  if (spoilChecksum) sum ^= 0x0100;
  m[2] = static_cast<char>(sum >> 8);
  m[3] = static_cast<char>(sum);
  return m;
}

int RawSocketFrom(const char* source) {
  const int fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  if (fd < 0) throw std::runtime_error(std::string("raw socket: ") + strerror(errno));
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, source, &local.sin_addr);
  if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    throw std::runtime_error(std::string("bind: ") + strerror(errno));
  }
  return fd;
}

void SendTo(int fd, const char* destination, const std::string& message) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  inet_pton(AF_INET, destination, &to.sin_addr);
  sendto(fd, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

// The next echo request from `client` that reaches `fd`, whole IP packet.
// Waits up to `waitMs` for it; "" when a short wait ended with none, an
// exception when the default long one did.
std::string AwaitRequest(int fd, const char* client, int waitMs = 5000) {
  in_addr from{};
  inet_pton(AF_INET, client, &from);
  char buffer[65536];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0) {
      if (waitMs < 5000) return "";
      throw std::runtime_error("no echo request arrived");
    }
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 28) continue;
    std::string packet(buffer, static_cast<std::size_t>(n));
    const std::size_t ihl = (static_cast<unsigned char>(packet[0]) & 0x0F) * 4u;
    if (std::memcmp(&packet[12], &from, 4) == 0 && packet[ihl] == 8) return packet;
  }
}

// The ICMP part of an IP packet.
std::string IcmpPart(const std::string& packet) {
  if (packet.empty()) return "";
  return packet.substr((static_cast<unsigned char>(packet[0]) & 0x0F) * 4u);
}

std::uint16_t Field16(const std::string& icmp, std::size_t at) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(icmp[at]) << 8) |
                                    static_cast<unsigned char>(icmp[at + 1]));
}

enum class Answer { NothingRight, RightReply, OversizedRightReply };

struct Responder {
  const char* peer;
  const char* peerSecond;
  const char* client;
  Answer answer;
  int readyFd;

  // Waits for the client's echo request, answers it, and reports the request
  // as it arrived: the IP total length, then the ICMP data in hex.
  std::string operator()() const {
    const int fd = RawSocketFrom(peer);
    const int other = RawSocketFrom(peerSecond);
    if (write(readyFd, "r", 1) != 1) throw std::runtime_error("cannot signal readiness");
    const std::string packet = AwaitRequest(fd, client);
    const std::string icmp = IcmpPart(packet);
    const std::uint16_t id = Field16(icmp, 4);
    const std::uint16_t seq = Field16(icmp, 6);
    const std::string data = icmp.substr(8);

    SendTo(fd, client, IcmpMessage(0, id, seq, "FORGED-1", true));      // bad checksum
    SendTo(fd, client, IcmpMessage(0, id + 1, seq, "FORGED-2"));        // other identifier
    SendTo(fd, client, IcmpMessage(0, id, seq + 1, "FORGED-3"));        // other sequence
    SendTo(other, client, IcmpMessage(0, id, seq, "FORGED-4"));         // other source
    SendTo(fd, client, IcmpMessage(8, id, seq, "FORGED-5"));            // a request, not a reply
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (answer == Answer::RightReply) SendTo(fd, client, IcmpMessage(0, id, seq, data));
    if (answer == Answer::OversizedRightReply) {
      SendTo(fd, client, IcmpMessage(0, id, seq, data + std::string(200, 'X')));
    }
    close(fd);
    close(other);
    const unsigned total = (static_cast<unsigned char>(packet[2]) << 8) |
                           static_cast<unsigned char>(packet[3]);
    std::string report = std::to_string(total) + " ";
    for (unsigned char c : data) report += std::to_string(c) + ",";
    return report;
  }
};

// Answers each of the next `count` echo requests from the client 50 ms after
// it arrived, so several requests are outstanding at once.
struct SlowResponder {
  const char* peer;
  const char* client;
  int count;
  int readyFd;

  std::string operator()() const {
    using Clock = std::chrono::steady_clock;
    const int fd = RawSocketFrom(peer);
    if (write(readyFd, "r", 1) != 1) throw std::runtime_error("cannot signal readiness");
    std::deque<std::pair<Clock::time_point, std::string>> due;
    int received = 0, answered = 0;
    while (answered < count) {
      if (received < count && (due.empty() || Clock::now() < due.front().first)) {
        // With nothing to answer, wait as long as it takes; else until the next is due.
        const int waitMs = due.empty() ? 5000 : 1;
        const std::string icmp = IcmpPart(AwaitRequest(fd, client, waitMs));
        if (!icmp.empty()) {
          ++received;
          due.emplace_back(Clock::now() + std::chrono::milliseconds(50),
                           IcmpMessage(0, Field16(icmp, 4), Field16(icmp, 6), icmp.substr(8)));
          continue;
        }
      }
      if (due.empty()) throw std::runtime_error("only " + std::to_string(received) + " requests");
      std::this_thread::sleep_until(due.front().first);
      SendTo(fd, client, due.front().second);
      due.pop_front();
      ++answered;
    }
    close(fd);
    return std::to_string(answered);
  }
};

class ForgedReplies : public EchoNetwork {
 protected:
  // Starts on the peer the responder `make` builds around the write end of a
  // readiness pipe, and returns once it listens.
  template <class Make>
  netns::Child StartResponder(Make make) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    netns::Child responder = peer_->Start(make(ready[1]));
    close(ready[1]);
    char signal;
    pollfd p{ready[0], POLLIN, 0};
    const bool isReady = poll(&p, 1, 5000) == 1 && read(ready[0], &signal, 1) == 1;
    close(ready[0]);
    EXPECT_TRUE(isReady) << "responder did not start";
    return responder;
  }

  void SetUp() override {
    EchoNetwork::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    peer_->Sysctl("net.ipv4.icmp_echo_ignore_all", "1");
  }

  // Probes the peer while the hand-written responder answers; returns the
  // probe and the responder's report.
  std::pair<ProbeResult, std::string> ProbeWith(Answer answer) {
    netns::Child responder = StartResponder([&](int readyFd) {
      return Responder{kPeer, kPeerSecond, kClient, answer, readyFd};
    });
    const ProbeResult probe = ProbeFrom(*client_, {.destination = kPeer});
    const netns::ChildResult seen = responder.Wait();
    EXPECT_TRUE(seen.ok()) << seen.text;
    return {probe, seen.text};
  }
};

TEST_P(ForgedReplies, OnlyTheRightReplyCounts) {
  const auto [r, seen] = ProbeWith(Answer::RightReply);
  ASSERT_EQ(r.failure, "");
  ASSERT_EQ(r.count, 1u) << "last error " << r.lastError;
  EXPECT_EQ(r.status, IP_SUCCESS);
  EXPECT_EQ(r.address, kPeer);
  EXPECT_EQ(r.data, kDoPing) << "a forged reply was taken for ours";
  // On the wire: a 20-byte IP header, 8 bytes of ICMP header, exactly the
  // 8 bytes "Do Ping" with its zero.
  EXPECT_EQ(seen, "36 68,111,32,80,105,110,103,0,");
}

TEST_P(ForgedReplies, AlmostRightRepliesAloneTimeOut) {
  const auto [r, seen] = ProbeWith(Answer::NothingRight);
  ASSERT_EQ(r.failure, "");
  EXPECT_EQ(r.count, 0u) << "took reply data " << r.data;
  EXPECT_EQ(r.lastError, IP_REQ_TIMED_OUT);
  EXPECT_GE(r.elapsedMs, 999);
  EXPECT_LT(r.elapsedMs, 1500);
}

// A reply carrying more data than the buffer holds is cut to fit, never
// written past the size the caller gave.
TEST_P(ForgedReplies, OversizedReplyIsCutToTheBuffer) {
  const auto [r, seen] = ProbeWith(Answer::OversizedRightReply);
  ASSERT_EQ(r.failure, "");
  ASSERT_EQ(r.count, 1u);
  EXPECT_EQ(r.status, IP_SUCCESS);
  EXPECT_EQ(r.dataSize, 78 - sizeof(ICMP_ECHO_REPLY));
  EXPECT_TRUE(r.dataInsideBuffer);
  EXPECT_EQ(r.data.substr(0, 8), kDoPing);
  EXPECT_TRUE(r.guardIntact);
}

// Threads sharing one handle, their requests outstanding together, each get
// the answer to their own request: one must not read and drop another's.
TEST_P(ForgedReplies, ThreadsSharingAHandleEachGetTheirReply) {
  constexpr int kThreads = 4, kEchoes = 2;
  netns::Child responder = StartResponder([&](int readyFd) {
    return SlowResponder{kPeer, kClient, kThreads * kEchoes, readyFd};
  });
  const netns::ChildResult r = client_->Run([&] {
    HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE) return std::string("no handle");
    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        for (int i = 0; i < kEchoes; ++i) {
          char data[8] = {'t', char('0' + t), 'e', char('0' + i)};
          unsigned char reply[78];
          if (IcmpSendEcho(handle, AddressOf(kPeer), data, 8, nullptr, reply, 78, 1000) != 1) {
            continue;
          }
          ICMP_ECHO_REPLY record;
          std::memcpy(&record, reply, sizeof record);
          if (record.Status == IP_SUCCESS && record.DataSize == 8 &&
              std::memcmp(record.Data, data, 8) == 0) {
            ++answered;
          }
        }
      });
    }
    for (auto& thread : threads) thread.join();
    IcmpCloseHandle(handle);
    return std::to_string(answered.load());
  });
  const netns::ChildResult seen = responder.Wait();
  ASSERT_TRUE(r.ok()) << r.text;
  EXPECT_EQ(r.text, std::to_string(kThreads * kEchoes)) << "replies matched to their threads";
  EXPECT_TRUE(seen.ok()) << seen.text;
}

INSTANTIATE_TEST_SUITE_P(BothSocketKinds, ForgedReplies,
                         ::testing::Values(SocketKind::Datagram, SocketKind::Raw),
                         [](const auto& info) { return KindName(info.param); });

}  // namespace
