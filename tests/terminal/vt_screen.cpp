#include "vt_screen.h"

#include <algorithm>
#include <cstdlib>

namespace corvane::testing {
namespace {

// DEC special graphics, as curses uses them for borders.
char32_t LineDrawing(char32_t ch) {
  switch (ch) {
    case U'j': case U'k': case U'l': case U'm': case U'n':
    case U't': case U'u': case U'v': case U'w': return U'+';
    case U'q': return U'-';
    case U'x': return U'|';
    case U'a': return U'#';
    case U'~': return U'o';
    default: return ch;
  }
}

// Unicode box drawing, for terminals curses draws borders on in UTF-8.
char32_t BoxDrawing(char32_t ch) {
  if (ch == 0x2500 || ch == 0x2501) return U'-';
  if (ch == 0x2502 || ch == 0x2503) return U'|';
  if (ch >= 0x250C && ch <= 0x254B) return U'+';
  return ch;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

}  // namespace

VtScreen::VtScreen(int rows, int cols)
    : rows_(rows), cols_(cols), cells_(static_cast<std::size_t>(rows * cols)), scrollBottom_(rows - 1) {}

void VtScreen::Resize(int rows, int cols) {
  std::vector<Cell> cells(static_cast<std::size_t>(rows * cols));
  for (int row = 0; row < std::min(rows, rows_); ++row) {
    for (int col = 0; col < std::min(cols, cols_); ++col) cells[static_cast<std::size_t>(row * cols + col)] = At(row, col);
  }
  cells_ = std::move(cells);
  rows_ = rows;
  cols_ = cols;
  scrollTop_ = 0;
  scrollBottom_ = rows - 1;
  ClampCursor();
}

void VtScreen::Feed(std::string_view bytes) {
  for (char byte : bytes) Byte(static_cast<unsigned char>(byte));
}

void VtScreen::Byte(unsigned char byte) {
  switch (state_) {
    case State::Escape: return Escape(byte);
    case State::Charset:
      lineDrawing_ = byte == '0';
      state_ = State::Ground;
      return;
    case State::Osc:
      if (byte == 0x07 || byte == '\\') state_ = State::Ground;
      return;
    case State::Csi:
      if (byte >= 0x40 && byte <= 0x7E) {
        state_ = State::Ground;
        Csi(byte);
      } else {
        params_ += static_cast<char>(byte);
      }
      return;
    case State::Utf8:
      if ((byte & 0xC0) == 0x80) {
        utf8Value_ = (utf8Value_ << 6) | (byte & 0x3F);
        if (--utf8Left_ == 0) {
          state_ = State::Ground;
          Print(BoxDrawing(utf8Value_));
        }
        return;
      }
      state_ = State::Ground;
      break;
    case State::Ground: break;
  }
  if (byte < 0x20 || byte == 0x7F) return Control(byte);
  if (byte >= 0xC0) {
    state_ = State::Utf8;
    utf8Left_ = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
    utf8Value_ = byte & (byte >= 0xF0 ? 0x07 : byte >= 0xE0 ? 0x0F : 0x1F);
    return;
  }
  Print(lineDrawing_ ? LineDrawing(byte) : byte);
}

void VtScreen::Control(unsigned char byte) {
  switch (byte) {
    case 0x1B: state_ = State::Escape; params_.clear(); return;
    case '\r': cursorCol_ = 0; pendingWrap_ = false; return;
    case '\n': case 0x0B: case 0x0C: LineFeed(); return;
    case '\b': if (cursorCol_ > 0) --cursorCol_; pendingWrap_ = false; return;
    case '\t': cursorCol_ = std::min(cols_ - 1, (cursorCol_ / 8 + 1) * 8); pendingWrap_ = false; return;
    case 0x0E: lineDrawing_ = true; return;
    case 0x0F: lineDrawing_ = false; return;
    default: return;
  }
}

void VtScreen::Print(char32_t ch) {
  if (pendingWrap_) {
    cursorCol_ = 0;
    LineFeed();
  }
  if (insertMode_) {
    for (int col = cols_ - 1; col > cursorCol_; --col) At(cursorRow_, col) = At(cursorRow_, col - 1);
  }
  At(cursorRow_, cursorCol_) = Cell{ch, reverse_, bold_};
  lastPrinted_ = ch < 0x80 ? static_cast<char>(ch) : '?';
  if (cursorCol_ == cols_ - 1) {
    pendingWrap_ = true;
  } else {
    ++cursorCol_;
  }
}

void VtScreen::Escape(unsigned char byte) {
  state_ = State::Ground;
  switch (byte) {
    case '[': state_ = State::Csi; params_.clear(); return;
    case ']': state_ = State::Osc; return;
    case '(': state_ = State::Charset; return;
    case ')': case '*': case '+': state_ = State::Charset; return;  // other sets: ignored
    case '7': savedRow_ = cursorRow_; savedCol_ = cursorCol_; return;
    case '8': cursorRow_ = savedRow_; cursorCol_ = savedCol_; pendingWrap_ = false; return;
    case 'D': LineFeed(); return;
    case 'E': cursorCol_ = 0; LineFeed(); return;
    case 'M': ReverseIndex(); return;
    case 'c': *this = VtScreen(rows_, cols_); return;
    default: return;  // keypad modes and the like change nothing on screen
  }
}

int VtScreen::Param(std::size_t index, int fallback) const {
  std::string_view rest = params_;
  if (!rest.empty() && (rest[0] == '?' || rest[0] == '>' || rest[0] == '=')) rest.remove_prefix(1);
  for (std::size_t i = 0; i < index; ++i) {
    std::size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) return fallback;
    rest.remove_prefix(semicolon + 1);
  }
  std::size_t end = rest.find(';');
  std::string field(rest.substr(0, end));
  if (field.empty()) return fallback;
  return std::atoi(field.c_str());
}

void VtScreen::Csi(unsigned char final) {
  int n = std::max(1, Param(0, 1));
  switch (final) {
    case 'A': cursorRow_ -= n; break;
    case 'B': case 'e': cursorRow_ += n; break;
    case 'C': case 'a': cursorCol_ += n; break;
    case 'D': cursorCol_ -= n; break;
    case 'E': cursorRow_ += n; cursorCol_ = 0; break;
    case 'F': cursorRow_ -= n; cursorCol_ = 0; break;
    case 'G': case '`': cursorCol_ = n - 1; break;
    case 'd': cursorRow_ = n - 1; break;
    case 'H': case 'f': cursorRow_ = std::max(1, Param(0, 1)) - 1; cursorCol_ = std::max(1, Param(1, 1)) - 1; break;
    case 'J': {
      int mode = Param(0, 0);
      int fromRow = mode == 0 ? cursorRow_ + 1 : 0;
      int toRow = mode == 1 ? cursorRow_ - 1 : rows_ - 1;
      if (mode == 0) EraseCells(cursorRow_, cursorCol_, cols_ - 1);
      if (mode == 1) EraseCells(cursorRow_, 0, cursorCol_);
      for (int row = fromRow; row <= toRow; ++row) EraseCells(row, 0, cols_ - 1);
      break;
    }
    case 'K': {
      int mode = Param(0, 0);
      if (mode == 0) EraseCells(cursorRow_, cursorCol_, cols_ - 1);
      if (mode == 1) EraseCells(cursorRow_, 0, cursorCol_);
      if (mode == 2) EraseCells(cursorRow_, 0, cols_ - 1);
      break;
    }
    case 'X': EraseCells(cursorRow_, cursorCol_, std::min(cols_ - 1, cursorCol_ + n - 1)); break;
    case '@':
      for (int i = 0; i < n; ++i) {
        for (int col = cols_ - 1; col > cursorCol_; --col) At(cursorRow_, col) = At(cursorRow_, col - 1);
        At(cursorRow_, cursorCol_) = Cell{};
      }
      break;
    case 'P':
      for (int i = 0; i < n; ++i) {
        for (int col = cursorCol_; col < cols_ - 1; ++col) At(cursorRow_, col) = At(cursorRow_, col + 1);
        At(cursorRow_, cols_ - 1) = Cell{};
      }
      break;
    case 'L': if (cursorRow_ >= scrollTop_ && cursorRow_ <= scrollBottom_) ScrollDown(cursorRow_, scrollBottom_, n); break;
    case 'M': if (cursorRow_ >= scrollTop_ && cursorRow_ <= scrollBottom_) ScrollUp(cursorRow_, scrollBottom_, n); break;
    case 'S': ScrollUp(scrollTop_, scrollBottom_, n); break;
    case 'T': ScrollDown(scrollTop_, scrollBottom_, n); break;
    case 'b': for (int i = 0; i < n; ++i) Print(static_cast<unsigned char>(lastPrinted_)); return;
    case 'r':
      scrollTop_ = std::max(1, Param(0, 1)) - 1;
      scrollBottom_ = std::min(rows_, std::max(1, Param(1, rows_))) - 1;
      cursorRow_ = 0;
      cursorCol_ = 0;
      break;
    case 'm': Sgr(); return;
    case 'h': SetModes(true); return;
    case 'l': SetModes(false); return;
    case 's': savedRow_ = cursorRow_; savedCol_ = cursorCol_; return;
    case 'u': cursorRow_ = savedRow_; cursorCol_ = savedCol_; break;
    default: return;  // reports, tab stops and the like draw nothing
  }
  pendingWrap_ = false;
  ClampCursor();
}

void VtScreen::Sgr() {
  for (std::size_t i = 0;; ++i) {
    int code = Param(i, i == 0 ? 0 : -1);
    if (code < 0) break;
    if (code == 0) reverse_ = bold_ = false;
    if (code == 1) bold_ = true;
    if (code == 7) reverse_ = true;
    if (code == 22) bold_ = false;
    if (code == 27) reverse_ = false;
  }
}

void VtScreen::SetModes(bool on) {
  bool privateMode = !params_.empty() && params_[0] == '?';
  for (std::size_t i = 0;; ++i) {
    int mode = Param(i, -1);
    if (mode < 0) break;
    if (!privateMode && mode == 4) insertMode_ = on;
    if (privateMode && mode == 25) cursorVisible_ = on;
    if (privateMode && (mode == 1049 || mode == 47 || mode == 1047)) {
      alternate_ = on;
      std::fill(cells_.begin(), cells_.end(), Cell{});
    }
  }
}

void VtScreen::LineFeed() {
  pendingWrap_ = false;
  if (cursorRow_ == scrollBottom_) {
    ScrollUp(scrollTop_, scrollBottom_, 1);
  } else if (cursorRow_ < rows_ - 1) {
    ++cursorRow_;
  }
}

void VtScreen::ReverseIndex() {
  pendingWrap_ = false;
  if (cursorRow_ == scrollTop_) {
    ScrollDown(scrollTop_, scrollBottom_, 1);
  } else if (cursorRow_ > 0) {
    --cursorRow_;
  }
}

void VtScreen::ScrollUp(int top, int bottom, int count) {
  for (int i = 0; i < count; ++i) {
    for (int row = top; row < bottom; ++row) {
      for (int col = 0; col < cols_; ++col) At(row, col) = At(row + 1, col);
    }
    EraseCells(bottom, 0, cols_ - 1);
  }
}

void VtScreen::ScrollDown(int top, int bottom, int count) {
  for (int i = 0; i < count; ++i) {
    for (int row = bottom; row > top; --row) {
      for (int col = 0; col < cols_; ++col) At(row, col) = At(row - 1, col);
    }
    EraseCells(top, 0, cols_ - 1);
  }
}

void VtScreen::EraseCells(int row, int from, int to) {
  if (row < 0 || row >= rows_) return;
  for (int col = std::max(0, from); col <= std::min(cols_ - 1, to); ++col) At(row, col) = Cell{};
}

void VtScreen::ClampCursor() {
  cursorRow_ = std::clamp(cursorRow_, 0, rows_ - 1);
  cursorCol_ = std::clamp(cursorCol_, 0, cols_ - 1);
}

std::string VtScreen::Row(int row) const {
  std::string text;
  for (int col = 0; col < cols_; ++col) AppendUtf8(text, At(row, col).ch);
  return text;
}

std::string VtScreen::Text() const {
  std::string text;
  for (int row = 0; row < rows_; ++row) {
    text += Row(row);
    text += '\n';
  }
  return text;
}

bool VtScreen::Contains(std::string_view text) const { return Find(text).first >= 0; }

std::pair<int, int> VtScreen::Find(std::string_view text) const {
  for (int row = 0; row < rows_; ++row) {
    std::string line = Row(row);
    std::size_t at = line.find(text);
    // Columns count characters, so only ASCII rows give exact columns; the
    // rows tests search are.
    if (at != std::string::npos) return {row, static_cast<int>(at)};
  }
  return {-1, -1};
}

}  // namespace corvane::testing
