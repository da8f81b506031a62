// The canvas on the curses standard screen.
#pragma once
#include "canvas.h"

namespace corvane::ui::terminal {

class CursesCanvas final : public Canvas {
 public:
  // `wideText`: the locale can show Latin-1 letters beyond ASCII.
  explicit CursesCanvas(bool wideText) : wideText_(wideText) {}

  void Text(int row, int col, std::string_view latin1, unsigned style) override;
  void Shade(int row, int col, int level) override;
  void Frame(const CellRect& rect) override;
  void Clear(const CellRect& rect) override;
  void PlaceCursor(int row, int col, bool visible) override;

  // Starts a new picture of the whole screen.
  void Begin();
  // Puts the cursor where the last PlaceCursor asked and sends the changes.
  void Present();

 private:
  bool wideText_;
  int cursorRow_ = 0;
  int cursorCol_ = 0;
  bool cursorVisible_ = false;
};

}  // namespace corvane::ui::terminal
