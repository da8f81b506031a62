// One act of the user at the terminal, as the dialogs understand it.
#pragma once

namespace corvane::ui::terminal {

struct Key {
  enum class Kind {
    Character,  // `latin1` holds it
    Enter,
    Escape,
    Tab,
    BackTab,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    Backspace,
    Delete,
    Help,   // F1
    Click,  // mouse button 1 at `row`, `col`
    Resize,
    Redraw,  // Ctrl-L
  };
  Kind kind;
  char latin1 = 0;
  int row = 0;
  int col = 0;
};

}  // namespace corvane::ui::terminal
