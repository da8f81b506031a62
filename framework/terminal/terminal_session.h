// The curses session on the process's terminal: opened once, closed when the
// window system goes away or the process exits, whichever comes first.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "curses_canvas.h"
#include "framework/window_system.h"
#include "key.h"

struct screen;

namespace corvane::ui::terminal {

class TerminalSession {
 public:
  // nullptr with `whyNot` filled when standard input and output are not a
  // terminal that curses can drive.
  static std::unique_ptr<TerminalSession> Open(std::string& whyNot);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  Size ScreenSize() const;
  // Picks up a size change the terminal reported; true when the size changed.
  bool FollowResize();
  // The next key within `timeoutMs`, or nullopt when none came.
  std::optional<Key> ReadKey(int timeoutMs);

  CursesCanvas& Canvas() { return canvas_; }
  void ForceFullRedraw();

 private:
  TerminalSession(struct screen* screen, bool wideText);
  std::optional<Key> KeyFromCurses(int status, wint_t code);

  struct screen* screen_;
  CursesCanvas canvas_;
};

}  // namespace corvane::ui::terminal
