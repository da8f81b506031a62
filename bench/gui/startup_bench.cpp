// gui_startup_bench [RUNS]: dialgate from process start to its main window
// mapped and drawn on a private Xvfb, and its peak resident memory, beside
// the same figures for a minimal FLTK program that opens one empty window of
// the same size. Runs alternate between the two; medians are printed.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "program_run.h"
#include "window_watch.h"
#include "xvfb_server.h"

namespace {

using corvane::bench::Clock;
using corvane::bench::WindowWatch;

struct Sample {
  double mappedMs = 0, drawnMs = 0, peakMiB = 0;
  int width = 0, height = 0;
};

// Starts the program, waits for its window to be drawn, ends it and reads
// its peak resident memory from the kernel's accounting.
bool Measure(Display* display, const std::vector<std::string>& command, const std::string& folder,
             const std::string& displayName, Sample& sample) {
  WindowWatch watch(display);
  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", displayName.c_str(), 1);
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    if (chdir((folder + "/work").c_str()) != 0) _exit(126);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  Clock::time_point mapped;
  const auto window = watch.WaitForMap(std::chrono::seconds(10), mapped);
  Clock::time_point drawn = mapped;
  if (window) {
    drawn = watch.WaitUntilDrawn(*window, std::chrono::milliseconds(300));
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, *window, &attributes);
    sample.width = attributes.width;
    sample.height = attributes.height;
  }
  kill(pid, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!window) return false;
  auto ms = [&](Clock::time_point t) { return std::chrono::duration<double, std::milli>(t - start).count(); };
  sample.mappedMs = ms(mapped);
  sample.drawnMs = ms(drawn);
  sample.peakMiB = usage.ru_maxrss / 1024.0;  // KiB on Linux
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
  const char* name;
  std::vector<double> mapped, drawn, peak;
  void Add(const Sample& s) {
    mapped.push_back(s.mappedMs);
    drawn.push_back(s.drawnMs);
    peak.push_back(s.peakMiB);
  }
  void Print() const {
    std::printf("%-22s runs %2zu  mapped %7.1f ms  drawn %7.1f ms (min %6.1f, max %6.1f)  peak RSS %5.1f MiB\n",
                name, drawn.size(), Median(mapped), Median(drawn),
                *std::min_element(drawn.begin(), drawn.end()),
                *std::max_element(drawn.begin(), drawn.end()), Median(peak));
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  corvane::guitest::XvfbServer server;
  std::string why;
  if (!server.Start(why)) {
    std::fprintf(stderr, "gui_startup_bench: %s\n", why.c_str());
    return 2;
  }
  Display* display = XOpenDisplay(server.DisplayName().c_str());
  if (!display) return 2;

  // dialgate finds a browser and a stored URL, so its main window comes first.
  corvane::guitest::ScratchFolder home;
  home.Write("work/current.cfg", "[init]\r\nDevURL=http://192.168.7.2/\r\nDevIP=192.168.7.2\r\nconnName=Device\r\n");
  home.Write("config/corvane/registry.reg",
             "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.html]\r\n@=\"htmlfile\"\r\n\r\n"
             "[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\r\n@=\"/bin/true \\\"%1\\\"\"\r\n");
  const std::string folder = home.path().string();

  Sample warmUp;  // fills the page cache and tells the window size
  if (!Measure(display, {DIALGATE_PROGRAM}, folder, server.DisplayName(), warmUp)) {
    std::fprintf(stderr, "gui_startup_bench: dialgate showed no window\n");
    return 1;
  }
  const std::vector<std::string> floorCommand = {EMPTY_WINDOW_PROGRAM, std::to_string(warmUp.width),
                                                 std::to_string(warmUp.height)};
  Sample floorWarmUp;
  Measure(display, floorCommand, folder, server.DisplayName(), floorWarmUp);

  Series floor{"empty FLTK window"}, dialgate{"dialgate main window"};
  for (int i = 0; i < runs; ++i) {
    Sample sample;
    if (Measure(display, floorCommand, folder, server.DisplayName(), sample)) floor.Add(sample);
    if (Measure(display, {DIALGATE_PROGRAM}, folder, server.DisplayName(), sample)) dialgate.Add(sample);
  }
  if (floor.drawn.empty() || dialgate.drawn.empty()) return 1;
  std::printf("Window %dx%d on Xvfb; time from fork to the window mapped and to its final picture.\n",
              warmUp.width, warmUp.height);
  floor.Print();
  dialgate.Print();
  std::printf("dialgate / floor: drawn %.2fx, peak RSS %.2fx (goal: within 1.5x, under 20 MiB)\n",
              Median(dialgate.drawn) / Median(floor.drawn), Median(dialgate.peak) / Median(floor.peak));
  XCloseDisplay(display);
  return 0;
}
