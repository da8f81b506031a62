// What the window manager is told about a window: a normal application
// window or a dialog, whether it offers a close box, whom it belongs to.
//
// A window without a close box gets Motif WM hints without the close
// function and without the window-menu decoration: every common window
// manager honours them, and they are ours to set (the EWMH allowed-actions
// list is the window manager's to publish, not the client's). A delete
// request that arrives anyway is ignored by the window itself.
#pragma once
#include <X11/Xlib.h>

namespace corvane::ui::fltkws {

struct WindowRole {
  bool closeBox = true;
  bool applicationWindow = false;  // taskbar entry: a normal top-level window
  Window owner = 0;                // transient for this window, if set
};

class WindowRoles {
 public:
  explicit WindowRoles(Display* display);  // interns the atoms once
  // Call right after the window was created, before anything flushes the
  // connection, so the window manager reads the role with the map request.
  void Apply(Window window, const WindowRole& role) const;
  // The server keeps the pixels of a mapped window, so it stays drawn while
  // the program is busy and answers no expose event.
  void KeepContents(Window window) const;
  // Gives the keyboard to a viewable window (no window manager does it for
  // us under Xvfb, and after a modal window closes we hand it back).
  void Focus(Window window) const;

 private:
  Display* display_;
  Atom motifHints_;
  Atom windowType_;
  Atom typeNormal_;
  Atom typeDialog_;
};

}  // namespace corvane::ui::fltkws
