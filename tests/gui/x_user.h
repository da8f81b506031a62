// The user at the X server: real input through XTest and what the user sees
// (window placement, pixels, window manager hints), over a connection of its
// own, as another client on the same server.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane::guitest {

struct WindowBox {
  int x, y, width, height;
};

// Pixels of a window, 0xRRGGBB, row by row.
struct Capture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Rows (inside [x0, x1) x [y0, y1)) that hold at least one dark pixel,
  // grouped into bands: the lines of text drawn there.
  int TextLines(int x0, int y0, int x1, int y1) const;
  int DarkPixels() const;
};

class XUser {
 public:
  explicit XUser(const std::string& displayName);
  ~XUser();
  XUser(const XUser&) = delete;
  XUser& operator=(const XUser&) = delete;

  Display* display() const { return display_; }

  // The topmost viewable top-level window with this title, if any.
  std::optional<Window> FindWindow(const std::string& title) const;
  std::vector<Window> ViewableWindows() const;
  std::string Title(Window window) const;
  WindowBox Box(Window window) const;
  Capture Grab(Window window) const;
  // The _MOTIF_WM_HINTS functions field; nullopt when there are no hints.
  std::optional<unsigned long> MotifFunctions(Window window) const;
  // The _NET_WM_WINDOW_TYPE atom's name ("_NET_WM_WINDOW_TYPE_NORMAL"), or "".
  std::string WindowType(Window window) const;
  // The sizes of the pictures in _NET_WM_ICON ("32x32"), in order.
  std::vector<std::string> IconSizes(Window window) const;
  // WM_TRANSIENT_FOR, or 0.
  Window TransientFor(Window window) const;

  void MovePointer(int x, int y);
  void Click(int x, int y);
  void Key(unsigned long keysym, bool control = false);
  void Type(const std::string& text);
  // What a window manager sends when the user clicks the close box.
  void RequestClose(Window window);

  // Maps a plain window of our own over `box` and takes it away again, so
  // the windows beneath need drawing.
  void CoverAndUncover(const WindowBox& box);

 private:
  void PressKeycode(KeyCode code, bool shift, bool control);

  Display* display_;
};

constexpr unsigned long kMotifFunctionClose = 1UL << 5;

}  // namespace corvane::guitest
