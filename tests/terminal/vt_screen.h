// A small model of a VT100/xterm screen: fed the bytes a program writes to
// its terminal, it keeps the characters, their reverse-video and bold marks,
// and the cursor, so a test can read what a user would see.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

class VtScreen {
 public:
  VtScreen(int rows, int cols);

  void Feed(std::string_view bytes);
  // As a terminal window resized by its user: what fits stays.
  void Resize(int rows, int cols);

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  // One row as text; line-drawing characters come out as + - |.
  std::string Row(int row) const;
  std::string Text() const;  // all rows, joined by line feeds
  bool Contains(std::string_view text) const;
  // Row and column of the first occurrence, or {-1, -1}.
  std::pair<int, int> Find(std::string_view text) const;
  bool Reverse(int row, int col) const { return At(row, col).reverse; }
  bool Bold(int row, int col) const { return At(row, col).bold; }
  int CursorRow() const { return cursorRow_; }
  int CursorCol() const { return cursorCol_; }
  bool CursorVisible() const { return cursorVisible_; }
  bool AlternateScreen() const { return alternate_; }

 private:
  struct Cell {
    char32_t ch = U' ';
    bool reverse = false;
    bool bold = false;
  };
  const Cell& At(int row, int col) const { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }
  Cell& At(int row, int col) { return cells_[static_cast<std::size_t>(row * cols_ + col)]; }

  void Byte(unsigned char byte);
  void Control(unsigned char byte);
  void Print(char32_t ch);
  void Escape(unsigned char byte);
  void Csi(unsigned char final);
  void Sgr();
  void SetModes(bool on);
  void LineFeed();
  void ReverseIndex();
  void ScrollUp(int top, int bottom, int count);
  void ScrollDown(int top, int bottom, int count);
  void EraseCells(int row, int from, int to);
  int Param(std::size_t index, int fallback) const;
  void ClampCursor();

  enum class State { Ground, Escape, Csi, Osc, Charset, Utf8 };
  int rows_;
  int cols_;
  std::vector<Cell> cells_;
  int cursorRow_ = 0;
  int cursorCol_ = 0;
  bool pendingWrap_ = false;
  bool cursorVisible_ = true;
  bool alternate_ = false;
  bool insertMode_ = false;
  bool lineDrawing_ = false;
  bool reverse_ = false;
  bool bold_ = false;
  int scrollTop_ = 0;
  int scrollBottom_ = 0;
  int savedRow_ = 0;
  int savedCol_ = 0;
  State state_ = State::Ground;
  std::string params_;
  char32_t utf8Value_ = 0;
  int utf8Left_ = 0;
  char lastPrinted_ = ' ';
};

}  // namespace corvane::testing
