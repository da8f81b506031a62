// Test helpers: one echo sent with the real ICMP calls from inside a network
// namespace, and the two-namespace network most echo tests run on.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "ci_policy.h"
#include "netns.h"
#include "win32/icmp.h"

// Namespaces are needed: skip with the reason, or fail when CI=true.
#define REQUIRE_NETWORK_NAMESPACES()                                                         \
  do {                                                                                       \
    const std::string& why = netns::UnavailableReason();                                     \
    if (!why.empty()) {                                                                      \
      if (corvane::testing::SkippingForbidden()) FAIL() << why << " (CI=true: not skipped)"; \
      GTEST_SKIP() << why;                                                                   \
    }                                                                                        \
  } while (0)

enum class SocketKind { Datagram, Raw };
std::string KindName(SocketKind kind);

// net.ipv4.ping_group_range is per namespace: allow every group to get the
// datagram socket, allow none to force the raw one (the tests run as root).
void SelectSocketKind(const netns::Namespace& ns, SocketKind kind);

// The echo the launcher sends: "Do Ping" and its zero byte.
inline const std::string kDoPing("Do Ping\0", 8);

struct ProbeRequest {
  std::string destination;    // dotted IPv4
  std::string data = kDoPing;
  DWORD replySize = 78;
  DWORD timeoutMs = 1000;
  std::optional<UCHAR> ttl = std::nullopt;  // IP options with this TTL; none when unset
  int pauseBeforeSendMs = 0;  // between IcmpCreateFile and IcmpSendEcho
};

// What one probe saw, reported back from the child that sent it.
struct ProbeResult {
  bool created = false;         // IcmpCreateFile gave a handle
  std::string socketKind;       // which kind of socket the handle holds, as /proc/net shows it
  DWORD count = 0;              // IcmpSendEcho's result
  DWORD lastError = 0;          // GetLastError() after it
  std::string address;          // first record, dotted
  ULONG status = 0;
  USHORT dataSize = 0;
  bool dataInsideBuffer = false;  // Data points behind the record, inside the buffer
  std::string data;               // the bytes Data points at
  bool guardIntact = false;       // nothing written past replySize
  double elapsedMs = 0;
  BOOL closed = FALSE;
  std::string failure;  // the child could not do its work
};

// Runs WSAStartup, IcmpCreateFile, IcmpSendEcho and IcmpCloseHandle in a
// child inside `ns`.
ProbeResult ProbeFrom(const netns::Namespace& ns, const ProbeRequest& request);

std::string Dotted(IPAddr address);
IPAddr AddressOf(const std::string& dotted);

// client (10.77.1.1) --veth-- peer (10.77.1.2, also 10.77.1.3). The client
// routes everything through the peer, which forwards and answers echoes,
// except 10.77.5.0/24 (no route) and 10.77.7.0/24 (unreachable), which the
// client's own stack refuses.
// Behind the peer: 10.77.9.0/24 unreachable, 10.77.10.0/24 prohibited and
// 10.77.8.0/24 routed back to the client, so a TTL of 1 expires at the peer.
class EchoNetwork : public ::testing::TestWithParam<SocketKind> {
 protected:
  static constexpr const char* kClient = "10.77.1.1";
  static constexpr const char* kPeer = "10.77.1.2";
  static constexpr const char* kPeerSecond = "10.77.1.3";
  static constexpr const char* kSilent = "10.77.1.99";  // on the link, nobody there

  void SetUp() override;

  std::unique_ptr<netns::Namespace> client_;
  std::unique_ptr<netns::Namespace> peer_;
};
