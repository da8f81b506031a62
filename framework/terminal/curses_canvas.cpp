#include "curses_canvas.h"

#include <curses.h>

#include <cwchar>

namespace corvane::ui::terminal {
namespace {

bool OnScreen(int row, int col) { return row >= 0 && col >= 0 && row < LINES && col < COLS; }

attr_t CursesAttributes(unsigned style) {
  attr_t attrs = A_NORMAL;
  if (style & kBold) attrs |= A_BOLD;
  if (style & kReverse) attrs |= A_REVERSE;
  if (style & kUnderline) attrs |= A_UNDERLINE;
  return attrs;
}

void PutCell(int row, int col, chtype ch) {
  if (OnScreen(row, col)) mvaddch(row, col, ch);
}

}  // namespace

void CursesCanvas::Text(int row, int col, std::string_view latin1, unsigned style) {
  attr_t attrs = CursesAttributes(style);
  for (std::size_t i = 0; i < latin1.size(); ++i) {
    int at = col + static_cast<int>(i);
    if (!OnScreen(row, at)) continue;
    auto byte = static_cast<unsigned char>(latin1[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      mvaddch(row, at, byte | attrs);
    } else if (byte >= 0xA0 && wideText_) {
      // Latin-1 is the first 256 code points, so the byte is its own wide character.
      wchar_t wide[2] = {static_cast<wchar_t>(byte), L'\0'};
      cchar_t cell;
      setcchar(&cell, wide, attrs, 0, nullptr);
      mvadd_wch(row, at, &cell);
    } else {
      mvaddch(row, at, (byte == '\t' ? ' ' : '?') | attrs);
    }
  }
}

void CursesCanvas::Shade(int row, int col, int level) {
  static constexpr char kInk[] = {' ', '.', ':', '*', '#'};
  if (level < 0) level = 0;
  if (level > 4) level = 4;
  PutCell(row, col, static_cast<chtype>(kInk[level]));
}

void CursesCanvas::Frame(const CellRect& rect) {
  if (rect.rows < 2 || rect.cols < 2) return;
  int bottom = rect.row + rect.rows - 1;
  int right = rect.col + rect.cols - 1;
  for (int col = rect.col + 1; col < right; ++col) {
    PutCell(rect.row, col, ACS_HLINE);
    PutCell(bottom, col, ACS_HLINE);
  }
  for (int row = rect.row + 1; row < bottom; ++row) {
    PutCell(row, rect.col, ACS_VLINE);
    PutCell(row, right, ACS_VLINE);
  }
  PutCell(rect.row, rect.col, ACS_ULCORNER);
  PutCell(rect.row, right, ACS_URCORNER);
  PutCell(bottom, rect.col, ACS_LLCORNER);
  PutCell(bottom, right, ACS_LRCORNER);
}

void CursesCanvas::Clear(const CellRect& rect) {
  for (int row = rect.row; row < rect.row + rect.rows; ++row) {
    for (int col = rect.col; col < rect.col + rect.cols; ++col) PutCell(row, col, ' ');
  }
}

void CursesCanvas::PlaceCursor(int row, int col, bool visible) {
  cursorRow_ = row;
  cursorCol_ = col;
  cursorVisible_ = visible;
}

void CursesCanvas::Begin() {
  erase();
  cursorRow_ = 0;
  cursorCol_ = 0;
  cursorVisible_ = false;
}

void CursesCanvas::Present() {
  // Terminals that cannot hide the cursor still get it parked on the
  // focused control rather than wherever drawing ended.
  curs_set(cursorVisible_ ? 1 : 0);
  if (OnScreen(cursorRow_, cursorCol_)) move(cursorRow_, cursorCol_);
  refresh();
}

}  // namespace corvane::ui::terminal
