#include "window_watch.h"

#include <X11/Xutil.h>
#include <poll.h>

#include <cstring>
#include <vector>

namespace corvane::bench {
namespace {

std::vector<char> Picture(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return {};
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes,
                            ZPixmap);
  if (!image) return {};
  std::vector<char> bytes(image->data, image->data + image->bytes_per_line * image->height);
  XDestroyImage(image);
  return bytes;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }  // the window may go at any time

}  // namespace

WindowWatch::WindowWatch(Display* display) : display_(display) {
  XSetErrorHandler(&IgnoreErrors);
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, True);  // forget what happened before
}

WindowWatch::~WindowWatch() { XSelectInput(display_, DefaultRootWindow(display_), NoEventMask); }

std::optional<Window> WindowWatch::WaitForMap(Clock::duration limit, Clock::time_point& mappedAt) {
  const Clock::time_point deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) {
        mappedAt = Clock::now();
        return event.xmap.window;
      }
    }
    pollfd wait{ConnectionNumber(display_), POLLIN, 0};
    poll(&wait, 1, 1);
  }
  return std::nullopt;
}

Clock::time_point WindowWatch::WaitUntilDrawn(Window window, Clock::duration settle) {
  std::vector<char> last = Picture(display_, window);
  Clock::time_point lastChange = Clock::now();
  while (Clock::now() - lastChange < settle) {
    std::vector<char> now = Picture(display_, window);
    if (now != last) {
      last = std::move(now);
      lastChange = Clock::now();
    }
  }
  return lastChange;
}

}  // namespace corvane::bench
