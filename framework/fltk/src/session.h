// The process-wide state of the FLTK window system: the display, the dialog
// fonts, and which window may take input while modal loops are nested.
#pragma once
#include <X11/Xlib.h>

#include <map>
#include <vector>

#include "dialog_font.h"
#include "window_roles.h"

class Fl_Window;

namespace corvane::ui::fltkws {

class Session {
 public:
  explicit Session(Display* display);  // the display FLTK was opened on
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  static Session* Current();  // null when no FLTK window system exists

  Display* display() const { return display_; }
  const WindowRoles& roles() const { return roles_; }
  const DialogFont& Font(int pointSize);

  // Modal loops, innermost last: while one runs, input reaches only its
  // window (and windows opened above it later, such as its message boxes).
  void BeginModal(Fl_Window* window);
  void EndModal(Fl_Window* window);
  bool AcceptsInput(const Fl_Window* window) const;

  // Shown windows in the order they appeared; when one goes, the keyboard
  // goes back to the innermost modal window or the newest one left.
  void Shown(Fl_Window* window);
  void Gone(Fl_Window* window);
  Fl_Window* Newest() const { return shown_.empty() ? nullptr : shown_.back(); }

  // The top-level window the key event being handled was sent to; widgets of
  // other windows see shortcuts too, and must leave them alone.
  const Fl_Window* KeyWindow() const { return keyWindow_; }

 private:
  static int Dispatch(int event, Fl_Window* window);

  Display* display_;
  WindowRoles roles_;
  std::map<int, DialogFont> fonts_;
  std::vector<Fl_Window*> modal_;
  std::vector<Fl_Window*> shown_;
  const Fl_Window* keyWindow_ = nullptr;
};

}  // namespace corvane::ui::fltkws
