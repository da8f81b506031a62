// dialup_bench: figures for dial-up links over a pty pair between two
// network namespaces made here (root only).
//   1. CPU of the launcher's poll loop (status queries back to back, as the
//      launcher makes them) during a 5-second modem dial, against a loop of
//      queries that never wait, in the same run.
//   2. RasDialA to RASCS_Connected on a direct line, and how long after the
//      connection process published "connected" the poll loop saw it.
//   3. Throughput of a download over the link, and the connection process's
//      CPU per MiB moved.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dialup/link_client.h"
#include "dialup/link_record.h"
#include "http_get.h"
#include "link_testbed.h"
#include "win32/ras.h"

namespace {

using namespace dialup;
using namespace dialup::testbed;

constexpr const char* kPc = "10.213.9.1";
constexpr const char* kDevice = "10.213.9.2";

std::int64_t ThreadCpuNs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Time a process has spent on a processor, from the scheduler's statistics.
std::int64_t ProcessCpuNs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
  std::int64_t ns = 0;
  in >> ns;
  return ns;
}

void OnDial(UINT, RASCONNSTATE, DWORD) {}

HRASCONN Dial(const std::string& entry) {
  RASDIALPARAMSA params{};
  params.dwSize = sizeof params;
  entry.copy(params.szEntryName, RAS_MaxEntryName);
  HRASCONN handle = nullptr;
  RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<LPVOID>(&OnDial), &handle);
  return handle;
}

struct Bench {
  TempTree home;
  ScopedEnv config{"XDG_CONFIG_HOME", home.path() + "/config"};
  ScopedEnv runtime{"XDG_RUNTIME_DIR", home.path() + "/run"};
  NetNamespace pc{"bench-pc"};
  NetNamespace device{"bench-dev"};
  std::unique_ptr<InNamespace> inPc = std::make_unique<InNamespace>(pc);
  std::string phonebook;

  Bench() { home.Write("run/.keep", ""); }
  ~Bench() {
    HangUpEverything();
    inPc.reset();
  }

  void AddEntry(const std::string& name, const std::string& line, const std::string& extra = "") {
    phonebook += "[" + name + "]\ndevice=" + line + "\nlocal=" + kPc + "\nremote=" + kDevice +
                 "\n" + extra + "\n";
    home.Write("config/corvane/phonebook.ini", phonebook);
  }
};

// The launcher's loop; `wait` false makes every query answer at once, which
// is what a service without the short wait would cost.
struct LoopFigures {
  double seconds = 0;
  double cpuSeconds = 0;
  long queries = 0;
  bool connected = false;
};

LoopFigures PollUntilConnected(HRASCONN handle, bool wait, LinkHandle link) {
  LoopFigures f;
  std::int64_t start = MonotonicNs(), cpu = ThreadCpuNs();
  RASCONNSTATUSA status{};
  status.dwSize = sizeof status;
  for (;;) {
    DWORD state = 0, error = 0;
    if (wait) {
      RasGetConnectStatusA(handle, &status);
      state = status.rasconnstate;
      error = status.dwError;
    } else {
      LinkStatus s;
      TheLinkClient().Status(link, &s, 0);
      state = s.state;
      error = s.error;
    }
    ++f.queries;
    if (state == RASCS_Connected) {
      f.connected = true;
      break;
    }
    if (error != 0 && error != PENDING) break;
  }
  f.seconds = static_cast<double>(MonotonicNs() - start) / 1e9;
  f.cpuSeconds = static_cast<double>(ThreadCpuNs() - cpu) / 1e9;
  return f;
}

void PollLoopCpu(Bench& bench) {
  std::printf("1. launcher poll loop during a 5 s modem dial\n");
  LoopFigures figures[2];
  for (int tight = 0; tight < 2; ++tight) {
    PtyLine line;
    FakeModem modem(line.master(), "CONNECT 115200", 5000);
    std::string entry = tight ? "Tight" : "Waiting";
    bench.AddEntry(entry, line.slavePath(), "phone=5551234\n");
    LinkHandle link = 0;
    HRASCONN handle = nullptr;
    if (tight) TheLinkClient().Dial({entry, "", ""}, &link);
    else handle = Dial(entry);
    figures[tight] = PollUntilConnected(handle, !tight, link);
    if (tight) TheLinkClient().HangUp(link);
    else RasHangUpA(handle);
    HangUpEntry(entry, 3000);
  }
  const char* names[2] = {"with the status query's short wait", "queries that never wait"};
  for (int i = 0; i < 2; ++i) {
    const LoopFigures& f = figures[i];
    std::printf("   %-36s %5.2f s, %7ld queries, CPU %.3f s = %5.2f%% of one core%s\n", names[i],
                f.seconds, f.queries, f.cpuSeconds, 100 * f.cpuSeconds / f.seconds,
                f.connected ? "" : "  (NOT CONNECTED)");
  }
  double share0 = figures[0].cpuSeconds / figures[0].seconds;
  double share1 = figures[1].cpuSeconds / figures[1].seconds;
  std::printf("   ratio of CPU shares (tight / waiting): %.0fx   goal: waiting under 2%%\n",
              share0 > 0 ? share1 / share0 : 0.0);
}

void DialTimes(Bench& bench) {
  constexpr int kDials = 20;
  PtyLine line;
  bench.AddEntry("Direct", line.slavePath());
  std::vector<double> toConnected, seenAfter;
  for (int i = 0; i < kDials; ++i) {
    std::int64_t start = MonotonicNs();
    HRASCONN handle = Dial("Direct");
    LoopFigures f = PollUntilConnected(handle, true, 0);
    std::int64_t seen = MonotonicNs();
    auto record = ReadRecord(RuntimeDirectory(), "Direct");
    if (f.connected && record) {
      toConnected.push_back(static_cast<double>(seen - start) / 1e6);
      seenAfter.push_back(static_cast<double>(seen - record->changedNs) / 1e6);
    }
    RasHangUpA(handle);
    HangUpEntry("Direct", 3000);
  }
  auto report = [](const char* what, std::vector<double> v, const char* goal) {
    if (v.empty()) {
      std::printf("   %-44s no dial connected\n", what);
      return;
    }
    std::sort(v.begin(), v.end());
    std::printf("   %-44s median %7.2f ms, max %7.2f ms (%zu dials)%s\n", what, v[v.size() / 2],
                v.back(), v.size(), goal);
  };
  std::printf("2. direct line, no modem\n");
  report("RasDialA to connected seen by the loop", toConnected, "");
  report("link up (published) to seen by the loop", seenAfter, "   goal: under 20 ms");
}

void Throughput(Bench& bench) {
  constexpr std::size_t kSize = 16 << 20;
  const std::string body = Pattern(kSize);
  PtyLine line;
  Device device(bench.device, line.master(), kDevice, kPc, {{"/big.bin", body}});
  bench.AddEntry("Fast", line.slavePath());
  HRASCONN handle = Dial("Fast");
  if (!PollUntilConnected(handle, true, 0).connected) {
    std::printf("3. throughput: the link did not come up\n");
    return;
  }
  auto record = ReadRecord(RuntimeDirectory(), "Fast");
  std::int64_t cpu = ProcessCpuNs(record->pid), start = MonotonicNs();
  auto got = HttpGet(std::string("http://") + kDevice + "/big.bin", 60000);
  double seconds = static_cast<double>(MonotonicNs() - start) / 1e9;
  double cpuMs = static_cast<double>(ProcessCpuNs(record->pid) - cpu) / 1e6;
  double mib = static_cast<double>(kSize) / (1 << 20);
  std::printf("3. download of %.0f MiB over the pty line (speed setting 115200, a pty is not paced)\n",
              mib);
  if (!got || *got != body) {
    std::printf("   the download failed or arrived changed\n");
  } else {
    std::printf("   %.2f s, %.1f MiB/s; connection process CPU %.1f ms per MiB\n", seconds,
                mib / seconds, cpuMs / mib);
  }
  RasHangUpA(handle);
  HangUpEntry("Fast", 3000);
}

}  // namespace

int main() {
  if (const std::string& why = UnavailableReason(); !why.empty()) {
    std::fprintf(stderr, "dialup_bench: %s\n", why.c_str());
    return 1;
  }
  Bench bench;
  PollLoopCpu(bench);
  DialTimes(bench);
  Throughput(bench);
  return 0;
}
