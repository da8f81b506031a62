// How long one launcher probe takes on real ICMP sockets. A client namespace
// and a peer namespace are joined by a veth pair; the client sends the
// probe's calls (WSAStartup, IcmpCreateFile, one IcmpSendEcho with "Do Ping"
// and its zero, a 78-byte reply buffer and 1000 ms, IcmpCloseHandle) and, in
// rounds between those probes, iputils ping measures the same path, so both
// see the same machine load. Then the peer stops answering and single probes
// show how long an unanswered one waits. Both socket kinds are measured.
//
// Run as root: icmp_bench [answered probes per kind] [unanswered probes per kind]
// The probes run in fresh processes of this program inside the client namespace.
#include <arpa/inet.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "netns.h"
#include "win32/icmp.h"

namespace {

constexpr const char* kClient = "10.77.21.1";
constexpr const char* kPeer = "10.77.21.2";
constexpr int kRounds = 10;
constexpr double kRttAllowanceMs = 0.3;
constexpr double kTimeoutMs = 1000;
constexpr double kTimeoutAllowanceMs = 10;
constexpr const char* kProbeChild = "--probe-child";  // argv[1] of the re-run that probes

enum class Kind { Datagram, Raw };

const char* NameOf(Kind kind) { return kind == Kind::Raw ? "raw" : "datagram"; }

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Probe {
  double wallMs = 0;
  double cpuMs = 0;
  bool answered = false;
};

// The probe's calls in the launcher's order and with its sizes.
Probe OneProbe(IPAddr destination) {
  static BYTE replyBuffer[78];
  const double cpuStart = CpuMs();
  const auto start = std::chrono::steady_clock::now();
  WSADATA wsaData;
  WSAStartup(0x0101, &wsaData);
  Probe probe;
  HANDLE icmp = IcmpCreateFile();
  if (icmp != INVALID_HANDLE_VALUE) {
    char echoData[] = "Do Ping";
    const DWORD replies = IcmpSendEcho(icmp, destination, echoData, sizeof echoData, nullptr,
                                       replyBuffer, sizeof replyBuffer, 1000);
    IcmpCloseHandle(icmp);
    probe.answered = replies > 0 && reinterpret_cast<ICMP_ECHO_REPLY*>(replyBuffer)->Status == 0;
  }
  probe.wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  probe.cpuMs = CpuMs() - cpuStart;
  return probe;
}

IPAddr AddressOf(const char* dotted) {
  in_addr a{};
  inet_pton(AF_INET, dotted, &a);
  return a.s_addr;
}

std::string ProgramPath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "icmp_bench";
}

// The child's side: `count` probes, one line each.
int PrintProbes(const char* destination, int count) {
  for (int i = 0; i < count; ++i) {
    const Probe p = OneProbe(AddressOf(destination));
    std::printf("%.6f %.6f %d\n", p.wallMs, p.cpuMs, p.answered ? 1 : 0);
  }
  return 0;
}

// Runs `count` probes in a fresh process inside `ns` (started as the launcher
// is, so its first probe pays what a launcher's first probe pays); returns
// them, or none if the child failed.
std::vector<Probe> ProbesFrom(const netns::Namespace& ns, const char* destination, int count) {
  const netns::CommandResult child =
      ns.TryExec({ProgramPath(), kProbeChild, destination, std::to_string(count)});
  std::vector<Probe> probes;
  if (!child.ok()) {
    std::fprintf(stderr, "probe child failed: %s\n", child.output.c_str());
    return probes;
  }
  std::istringstream in(child.output);
  Probe p;
  while (in >> p.wallMs >> p.cpuMs >> p.answered) probes.push_back(p);
  return probes;
}

// Round-trip times ping reports for `count` echoes sent 10 ms apart.
std::vector<double> PingTimes(const netns::Namespace& ns, const char* destination, int count) {
  const netns::CommandResult r =
      ns.TryExec({"ping", "-n", "-c", std::to_string(count), "-i", "0.01", destination});
  std::vector<double> times;
  std::istringstream in(r.output);
  std::string line;
  while (std::getline(in, line)) {
    const auto at = line.find("time=");
    if (at != std::string::npos) times.push_back(std::atof(line.c_str() + at + 5));
  }
  return times;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The value that `fraction` of the figures do not exceed.
double Percentile(std::vector<double> v, double fraction) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(fraction * (v.size() - 1) + 0.5))];
}

double Worst(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

double Best(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double Mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return v.empty() ? 0 : sum / v.size();
}

struct Network {
  netns::Namespace client{"icmpb-cl"};
  netns::Namespace peer{"icmpb-pe"};
  Network() {
    netns::Connect(client, "c0", std::string(kClient) + "/24", peer, "p0",
                   std::string(kPeer) + "/24");
  }
};

void SelectKind(const netns::Namespace& ns, Kind kind) {
  ns.Sysctl("net.ipv4.ping_group_range", kind == Kind::Raw ? "1 0" : "0 2147483647");
}

bool MeasureAnswered(const Network& net, Kind kind, int probesPerKind) {
  const int perRound = std::max(1, probesPerKind / kRounds);
  std::vector<double> probeMs, firstMs, laterMs, cpuMs, pingMs;
  int unanswered = 0;
  PingTimes(net.client, kPeer, 3);  // settles the neighbour entry first
  for (int round = 0; round < kRounds; ++round) {
    const auto ping = PingTimes(net.client, kPeer, perRound);
    pingMs.insert(pingMs.end(), ping.begin(), ping.end());
    const auto probes = ProbesFrom(net.client, kPeer, perRound);
    // Each round is a fresh process, as each launcher run is.
    for (std::size_t i = 0; i < probes.size(); ++i) {
      (i == 0 ? firstMs : laterMs).push_back(probes[i].wallMs);
    }
    for (const Probe& p : probes) {
      probeMs.push_back(p.wallMs);
      cpuMs.push_back(p.cpuMs);
      if (!p.answered) ++unanswered;
    }
  }
  if (probeMs.empty() || pingMs.empty()) {
    std::fprintf(stderr, "%s: no figures (probes %zu, pings %zu)\n", NameOf(kind), probeMs.size(),
                 pingMs.size());
    return false;
  }
  const double over = Median(probeMs) - Median(pingMs);
  const double worstOver = Worst(probeMs) - Worst(pingMs);
  std::printf("%-8s  %zu probes: median %.3f ms, 99th %.3f ms, worst %.3f ms; first of a "
              "process: median %.3f ms, worst %.3f ms; later ones: worst %.3f ms; cpu/probe mean "
              "%.3f ms; unanswered %d\n"
              "          %zu pings:  median %.3f ms, 99th %.3f ms, worst %.3f ms\n"
              "          over ping: median %+.3f ms, worst %+.3f ms (goal <= +%.1f: %s, %s)\n",
              NameOf(kind), probeMs.size(), Median(probeMs), Percentile(probeMs, 0.99),
              Worst(probeMs), Median(firstMs), Worst(firstMs), Worst(laterMs), Mean(cpuMs),
              unanswered, pingMs.size(), Median(pingMs), Percentile(pingMs, 0.99), Worst(pingMs),
              over, worstOver, kRttAllowanceMs,
              over <= kRttAllowanceMs ? "met" : "missed",
              worstOver <= kRttAllowanceMs ? "met" : "missed");
  return unanswered == 0;
}

// What the machine itself adds to a 1000 ms wait: a bare ppoll with nothing
// to watch, timed like a probe.
void MeasureBareWait(int count) {
  std::vector<double> wallMs, cpuMs;
  for (int i = 0; i < count; ++i) {
    const double cpuStart = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    const timespec second{1, 0};
    ppoll(nullptr, 0, &second, nullptr);
    wallMs.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    cpuMs.push_back(CpuMs() - cpuStart);
  }
  std::printf("baseline  %d bare 1000 ms waits: median %.3f ms, worst %.3f ms, cpu/wait mean "
              "%.3f ms\n",
              count, Median(wallMs), Worst(wallMs), Mean(cpuMs));
}

bool MeasureUnanswered(const Network& net, Kind kind, int probes) {
  std::vector<double> wallMs, cpuMs;
  int answered = 0;
  for (const Probe& p : ProbesFrom(net.client, kPeer, probes)) {
    wallMs.push_back(p.wallMs);
    cpuMs.push_back(p.cpuMs);
    if (p.answered) ++answered;
  }
  if (wallMs.empty()) return false;
  const double worstOff =
      std::max(Worst(wallMs) - kTimeoutMs, kTimeoutMs - Best(wallMs));
  std::printf("%-8s  %zu probes: median %.3f ms, best %.3f ms, worst %.3f ms, farthest from "
              "1000 ms %.3f ms (goal <= %.0f: %s), cpu/probe mean %.3f ms, answered %d\n",
              NameOf(kind), wallMs.size(), Median(wallMs), Best(wallMs), Worst(wallMs), worstOff,
              kTimeoutAllowanceMs, worstOff <= kTimeoutAllowanceMs ? "met" : "missed",
              Mean(cpuMs), answered);
  return answered == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == kProbeChild) {
    return PrintProbes(argv[2], std::atoi(argv[3]));
  }
  const int answeredProbes = argc > 1 ? std::atoi(argv[1]) : 500;
  const int unansweredProbes = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string& why = netns::UnavailableReason();
  if (!why.empty()) {
    std::fprintf(stderr, "icmp_bench: %s\n", why.c_str());
    return 2;
  }
  bool ok = true;
  try {
    Network net;
    std::printf("One probe to an answering peer over veth, beside iputils ping on the same path "
                "(interleaved in %d rounds):\n",
                kRounds);
    for (Kind kind : {Kind::Datagram, Kind::Raw}) {
      SelectKind(net.client, kind);
      ok = MeasureAnswered(net, kind, answeredProbes) && ok;
    }
    net.peer.Sysctl("net.ipv4.icmp_echo_ignore_all", "1");
    std::printf("One probe to a peer that does not answer (time-out 1000 ms):\n");
    for (Kind kind : {Kind::Datagram, Kind::Raw}) {
      SelectKind(net.client, kind);
      ok = MeasureUnanswered(net, kind, unansweredProbes) && ok;
    }
    MeasureBareWait(unansweredProbes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "icmp_bench: %s\n", e.what());
    return 2;
  }
  return ok ? 0 : 1;
}
