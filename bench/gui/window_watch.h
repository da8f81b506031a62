// Watches an X server for the first top-level window a program maps, and
// tells when its picture stopped changing: the moment it was fully drawn.
#pragma once
#include <X11/Xlib.h>

#include <chrono>
#include <optional>

namespace corvane::bench {

using Clock = std::chrono::steady_clock;

class WindowWatch {
 public:
  explicit WindowWatch(Display* display);  // starts watching the root's children
  ~WindowWatch();

  // The first window mapped from now on, and when; nullopt after `limit`.
  std::optional<Window> WaitForMap(Clock::duration limit, Clock::time_point& mappedAt);
  // Samples the window's pixels until they have not changed for `settle`;
  // returns when the final picture first appeared.
  Clock::time_point WaitUntilDrawn(Window window, Clock::duration settle);

 private:
  Display* display_;
};

}  // namespace corvane::bench
