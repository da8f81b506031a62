// What a terminal window draws with: cells addressed from the screen's top
// left. Everything outside the screen is clipped away.
#pragma once
#include <string_view>

#include "cell_layout.h"

namespace corvane::ui::terminal {

enum CellStyle : unsigned {
  kPlain = 0,
  kBold = 1u << 0,
  kReverse = 1u << 1,
  kUnderline = 1u << 2,
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // ANSI (Latin-1) text from left to right; characters the terminal cannot
  // show come out as '?'.
  virtual void Text(int row, int col, std::string_view latin1, unsigned style) = 0;
  // One cell of a picture: 0 is empty, 4 is fully inked.
  virtual void Shade(int row, int col, int level) = 0;
  virtual void Frame(const CellRect& rect) = 0;
  virtual void Clear(const CellRect& rect) = 0;
  // Where the terminal's cursor stands once the screen is drawn.
  virtual void PlaceCursor(int row, int col, bool visible) = 0;
};

}  // namespace corvane::ui::terminal
