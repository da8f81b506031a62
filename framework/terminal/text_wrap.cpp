#include "text_wrap.h"

#include <algorithm>

namespace corvane::ui::terminal {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One paragraph (no line feed inside) into lines of at most `width`.
void WrapParagraph(std::string_view paragraph, int width, std::vector<std::string>& lines) {
  std::size_t limit = static_cast<std::size_t>(width);
  std::string line;
  std::size_t pos = 0;
  while (pos < paragraph.size()) {
    std::size_t wordEnd = pos;
    while (wordEnd < paragraph.size() && !IsBlank(paragraph[wordEnd])) ++wordEnd;
    std::string_view word = paragraph.substr(pos, wordEnd - pos);
    if (!line.empty() && line.size() + 1 + word.size() <= limit) {
      line += ' ';
      line += word;
    } else {
      if (!line.empty()) lines.push_back(line);
      line.clear();
      // A word wider than the line is cut at the edge and continued below.
      while (word.size() > limit) {
        lines.emplace_back(word.substr(0, limit));
        word.remove_prefix(limit);
      }
      line = word;
    }
    pos = wordEnd;
    while (pos < paragraph.size() && IsBlank(paragraph[pos])) ++pos;
  }
  lines.push_back(line);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width < 1) return lines;
  std::size_t start = 0;
  while (true) {
    std::size_t feed = text.find('\n', start);
    std::string_view paragraph = text.substr(start, feed == std::string_view::npos ? feed : feed - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
    WrapParagraph(paragraph, width, lines);
    if (feed == std::string_view::npos) break;
    start = feed + 1;
  }
  return lines;
}

int WidestLine(const std::vector<std::string>& lines) {
  std::size_t widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, line.size());
  return static_cast<int>(widest);
}

}  // namespace corvane::ui::terminal
