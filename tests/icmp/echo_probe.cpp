#include "echo_probe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

namespace {

constexpr unsigned char kGuard = 0xA5;
constexpr std::size_t kGuardSize = 64;

// The kind of the one ICMP socket this process holds, read from its open
// descriptors: a ping socket is not listed in /proc/net/icmp until its first
// send binds it, so the tables cannot tell right after IcmpCreateFile.
std::string CurrentSocketKind() {
  int datagram = 0, raw = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    const int fd = std::atoi(entry.path().filename().c_str());
    int type = 0, protocol = 0;
    socklen_t length = sizeof type;
    if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0) continue;
    length = sizeof protocol;
    if (getsockopt(fd, SOL_SOCKET, SO_PROTOCOL, &protocol, &length) != 0) continue;
    if (protocol != IPPROTO_ICMP) continue;
    if (type == SOCK_DGRAM) ++datagram;
    if (type == SOCK_RAW) ++raw;
  }
  if (datagram == 1 && raw == 0) return "datagram";
  if (raw == 1 && datagram == 0) return "raw";
  return "unclear (ping sockets " + std::to_string(datagram) + ", raw " + std::to_string(raw) + ")";
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char c : bytes) {
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text.empty() ? "-" : text;
}

std::string Unhex(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

// The child's side: every field on one line, in a fixed order.
std::string SendProbe(const ProbeRequest& request) {
  WSADATA wsa;
  WSAStartup(0x0101, &wsa);
  ProbeResult r;
  HANDLE handle = IcmpCreateFile();
  r.created = handle != INVALID_HANDLE_VALUE;
  if (r.created) r.socketKind = CurrentSocketKind();

  std::vector<unsigned char> buffer(request.replySize + kGuardSize, kGuard);
  IP_OPTION_INFORMATION options{};
  if (request.ttl) options.Ttl = *request.ttl;
  std::string data = request.data;
  std::this_thread::sleep_for(std::chrono::milliseconds(request.pauseBeforeSendMs));
  const auto start = std::chrono::steady_clock::now();
  r.count = IcmpSendEcho(handle, AddressOf(request.destination), data.data(),
                         static_cast<WORD>(data.size()), request.ttl ? &options : nullptr,
                         buffer.data(), request.replySize, request.timeoutMs);
  r.lastError = GetLastError();
  r.elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
  r.closed = IcmpCloseHandle(handle);

  if (r.count > 0) {
    ICMP_ECHO_REPLY record;
    std::memcpy(&record, buffer.data(), sizeof record);
    r.address = Dotted(record.Address);
    r.status = record.Status;
    r.dataSize = record.DataSize;
    const auto* begin = buffer.data() + sizeof record;
    const auto* end = buffer.data() + request.replySize;
    const auto* at = static_cast<const unsigned char*>(record.Data);
    r.dataInsideBuffer = at >= begin && at + record.DataSize <= end;
    if (r.dataInsideBuffer) r.data.assign(reinterpret_cast<const char*>(at), record.DataSize);
  }
  r.guardIntact = true;
  for (std::size_t i = request.replySize; i < buffer.size(); ++i) {
    if (buffer[i] != kGuard) r.guardIntact = false;
  }

  std::ostringstream out;
  out << r.created << ' ' << (r.socketKind.empty() ? "-" : r.socketKind) << '\n'
      << r.count << ' ' << r.lastError << ' ' << (r.address.empty() ? "-" : r.address) << ' '
      << r.status << ' ' << r.dataSize << ' ' << r.dataInsideBuffer << ' ' << Hex(r.data) << ' '
      << r.guardIntact << ' ' << r.elapsedMs << ' ' << r.closed << '\n';
  return out.str();
}

ProbeResult ParseProbe(const std::string& text) {
  ProbeResult r;
  std::istringstream in(text);
  std::string hex;
  in >> r.created;
  in >> std::ws;
  std::getline(in, r.socketKind);
  in >> r.count >> r.lastError >> r.address >> r.status >> r.dataSize >> r.dataInsideBuffer >>
      hex >> r.guardIntact >> r.elapsedMs >> r.closed;
  if (!in) r.failure = "unreadable report: " + text;
  if (r.address == "-") r.address.clear();
  r.data = hex == "-" ? "" : Unhex(hex);
  return r;
}

}  // namespace

std::string KindName(SocketKind kind) { return kind == SocketKind::Raw ? "Raw" : "Datagram"; }

void SelectSocketKind(const netns::Namespace& ns, SocketKind kind) {
  ns.Sysctl("net.ipv4.ping_group_range", kind == SocketKind::Raw ? "1 0" : "0 2147483647");
}

std::string Dotted(IPAddr address) {
  char text[INET_ADDRSTRLEN];
  in_addr a{address};
  return inet_ntop(AF_INET, &a, text, sizeof text);
}

IPAddr AddressOf(const std::string& dotted) {
  in_addr a{};
  inet_pton(AF_INET, dotted.c_str(), &a);
  return a.s_addr;
}

ProbeResult ProbeFrom(const netns::Namespace& ns, const ProbeRequest& request) {
  const netns::ChildResult child = ns.Run([&] { return SendProbe(request); });
  if (!child.ok()) {
    ProbeResult r;
    r.failure = "probe child failed (status " + std::to_string(child.status) + "): " + child.text;
    return r;
  }
  return ParseProbe(child.text);
}

void EchoNetwork::SetUp() {
  REQUIRE_NETWORK_NAMESPACES();
  client_ = std::make_unique<netns::Namespace>("icmp-cl");
  peer_ = std::make_unique<netns::Namespace>("icmp-pe");
  netns::Connect(*client_, "c0", std::string(kClient) + "/24", *peer_, "p0",
                 std::string(kPeer) + "/24");
  peer_->Exec({"ip", "addr", "add", std::string(kPeerSecond) + "/24", "dev", "p0"});
  client_->Exec({"ip", "route", "add", "default", "via", kPeer});
  client_->Exec({"ip", "route", "add", "throw", "10.77.5.0/24"});
  client_->Exec({"ip", "route", "add", "unreachable", "10.77.7.0/24"});
  peer_->Sysctl("net.ipv4.ip_forward", "1");
  peer_->Exec({"ip", "route", "add", "unreachable", "10.77.9.0/24"});
  peer_->Exec({"ip", "route", "add", "prohibit", "10.77.10.0/24"});
  peer_->Exec({"ip", "route", "add", "10.77.8.0/24", "via", kClient});
  SelectSocketKind(*client_, GetParam());
}
