// The open terminal windows, bottom to top, as the windows themselves see
// them: they tell it when they change, come up or go away.
#pragma once

namespace corvane::ui::terminal {

class TerminalDialog;

class WindowStack {
 public:
  virtual ~WindowStack() = default;
  virtual void Raise(TerminalDialog& window) = 0;   // on top and drawn now
  virtual void Remove(TerminalDialog& window) = 0;  // gone from the screen now
  virtual void Changed() = 0;                       // draw again when next due
};

}  // namespace corvane::ui::terminal
