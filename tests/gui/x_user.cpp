#include "x_user.h"

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <stdexcept>

namespace corvane::guitest {

int Capture::TextLines(int x0, int y0, int x1, int y1) const {
  int lines = 0;
  bool inLine = false;
  for (int y = y0; y < y1 && y < height; ++y) {
    bool dark = false;
    for (int x = x0; x < x1 && x < width && !dark; ++x) {
      const std::uint32_t p = At(x, y);
      dark = ((p >> 16) & 0xFF) < 96 && ((p >> 8) & 0xFF) < 96 && (p & 0xFF) < 96;
    }
    if (dark && !inLine) ++lines;
    inLine = dark;
  }
  return lines;
}

int Capture::DarkPixels() const {
  int count = 0;
  for (std::uint32_t p : pixels) count += ((p >> 16) & 0xFF) < 96 && ((p >> 8) & 0xFF) < 96 && (p & 0xFF) < 96;
  return count;
}

namespace {

// The user looks at windows that the program may destroy at any moment; a
// window gone between two requests is no error of the program's.
Display* userDisplay = nullptr;
XErrorHandler programHandler = nullptr;

int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
  if (display == userDisplay) return 0;
  return programHandler ? programHandler(display, error) : 0;
}

}  // namespace

XUser::XUser(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {
  if (!display_) throw std::runtime_error("cannot open " + displayName);
  userDisplay = display_;
  programHandler = XSetErrorHandler(&IgnoreVanishedWindows);
}

XUser::~XUser() {
  XSetErrorHandler(programHandler);
  userDisplay = nullptr;
  XCloseDisplay(display_);
}

std::vector<Window> XUser::ViewableWindows() const {
  Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
  unsigned count = 0;
  std::vector<Window> viewable;
  if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return viewable;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable &&
        attributes.c_class == InputOutput)
      viewable.push_back(children[i]);
  }
  if (children) XFree(children);
  return viewable;  // bottom to top
}

std::string XUser::Title(Window window) const {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display_, window, &name) && name) title = name;
  if (name) XFree(name);
  return title;
}

std::optional<Window> XUser::FindWindow(const std::string& title) const {
  const auto windows = ViewableWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (Title(*it) == title) return *it;
  }
  return std::nullopt;
}

WindowBox XUser::Box(Window window) const {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, window, &attributes);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

Capture XUser::Grab(Window window) const {
  const WindowBox box = Box(window);
  Capture capture;
  // Read from the root: what is on the screen, not what the window would
  // draw if asked.
  XImage* image = XGetImage(display_, DefaultRootWindow(display_), box.x, box.y, box.width,
                            box.height, AllPlanes, ZPixmap);
  if (!image) return capture;
  capture.width = box.width;
  capture.height = box.height;
  capture.pixels.reserve(static_cast<std::size_t>(box.width) * box.height);
  for (int y = 0; y < box.height; ++y)
    for (int x = 0; x < box.width; ++x) capture.pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
  XDestroyImage(image);
  return capture;
}

std::optional<unsigned long> XUser::MotifFunctions(Window window) const {
  const Atom hints = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
  Atom type;
  int format;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, window, hints, 0, 5, False, AnyPropertyType, &type, &format, &items,
                         &after, &data) != Success || !data || items < 2) {
    if (data) XFree(data);
    return std::nullopt;
  }
  const unsigned long functions = reinterpret_cast<unsigned long*>(data)[1];
  XFree(data);
  return functions;
}

std::string XUser::WindowType(Window window) const {
  const Atom property = XInternAtom(display_, "_NET_WM_WINDOW_TYPE", False);
  Atom type;
  int format;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display_, window, property, 0, 1, False, XA_ATOM, &type, &format, &items,
                         &after, &data) == Success && data && items == 1) {
    if (char* atomName = XGetAtomName(display_, reinterpret_cast<Atom*>(data)[0])) {
      name = atomName;
      XFree(atomName);
    }
  }
  if (data) XFree(data);
  return name;
}

std::vector<std::string> XUser::IconSizes(Window window) const {
  const Atom property = XInternAtom(display_, "_NET_WM_ICON", False);
  Atom type;
  int format;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<std::string> sizes;
  if (XGetWindowProperty(display_, window, property, 0, 1 << 20, False, XA_CARDINAL, &type, &format,
                         &items, &after, &data) == Success && data) {
    // Each picture: width, height, then width * height pixels (longs in Xlib).
    const auto* longs = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long at = 0; at + 2 <= items;) {
      const unsigned long w = longs[at], h = longs[at + 1];
      sizes.push_back(std::to_string(w) + "x" + std::to_string(h));
      at += 2 + w * h;
    }
  }
  if (data) XFree(data);
  return sizes;
}

Window XUser::TransientFor(Window window) const {
  Window owner = 0;
  return XGetTransientForHint(display_, window, &owner) ? owner : 0;
}

void XUser::MovePointer(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XSync(display_, False);
}

void XUser::Click(int x, int y) {
  MovePointer(x, y);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XSync(display_, False);
}

void XUser::PressKeycode(KeyCode code, bool shift, bool control) {
  const KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
  const KeyCode controlCode = XKeysymToKeycode(display_, XK_Control_L);
  if (control) XTestFakeKeyEvent(display_, controlCode, True, CurrentTime);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
  if (control) XTestFakeKeyEvent(display_, controlCode, False, CurrentTime);
  XSync(display_, False);
}

void XUser::Key(unsigned long keysym, bool control) {
  const KeyCode code = XKeysymToKeycode(display_, keysym);
  if (!code) throw std::runtime_error("no key for keysym " + std::to_string(keysym));
  // A keysym in the second column of its key needs Shift.
  const bool shift = XkbKeycodeToKeysym(display_, code, 0, 0) != keysym &&
                     XkbKeycodeToKeysym(display_, code, 0, 1) == keysym;
  PressKeycode(code, shift, control);
}

void XUser::Type(const std::string& text) {
  for (unsigned char c : text) Key(c);  // Latin-1 keysyms are the characters
}

void XUser::RequestClose(Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}

void XUser::CoverAndUncover(const WindowBox& box) {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
  const Window cover = XCreateWindow(display_, DefaultRootWindow(display_), box.x, box.y, box.width,
                                     box.height, 0, CopyFromParent, InputOutput, CopyFromParent,
                                     CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display_, cover);
  XSync(display_, False);
  XDestroyWindow(display_, cover);
  XSync(display_, False);
}

}  // namespace corvane::guitest
