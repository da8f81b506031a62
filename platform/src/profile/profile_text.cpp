#include "profile/profile_text.h"

#include "platform/no_case.h"

namespace platform::real {
namespace {

// One line of the file: where it starts, its content without the line
// ending, and where the next line starts.
struct Line {
  std::size_t begin;
  std::string_view content;
  std::size_t end;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t newline = text.find('\n', begin);
    std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    std::string_view content = text.substr(begin, (newline == std::string_view::npos ? end : newline) - begin);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    lines.push_back({begin, content, end});
    begin = end;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a section header line, or nothing for any other line. Text
// after ']' is ignored; a header without ']' runs to the end of the line.
std::optional<std::string_view> SectionHeader(std::string_view content) {
  std::string_view s = Trim(content);
  if (s.empty() || s.front() != '[') return std::nullopt;
  s.remove_prefix(1);
  return Trim(s.substr(0, s.find(']')));
}

bool IsComment(std::string_view content) {
  std::string_view s = Trim(content);
  return !s.empty() && s.front() == ';';
}

struct KeyLine {
  std::string_view key;
  std::string_view rawValue;
};

// A key line is any non-comment line inside a section with '=' in it.
std::optional<KeyLine> ParseKeyLine(std::string_view content) {
  if (IsComment(content)) return std::nullopt;
  std::size_t equals = content.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(content.substr(0, equals)), content.substr(equals + 1)};
}

std::string CleanValue(std::string_view raw) {
  std::string_view v = Trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

// The lines of the first section called `section`: [header, firstLineAfter).
struct SectionSpan {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionHeader(lines[i].content);
    if (!name || !EqualNoCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionHeader(lines[end].content)) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionSpan span,
                                   std::string_view key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    auto parsed = ParseKeyLine(lines[i].content);
    if (parsed && EqualNoCase(parsed->key, key)) return i;
  }
  return std::nullopt;
}

std::string_view LineEndingOf(std::string_view text) {
  std::size_t newline = text.find('\n');
  if (newline == std::string_view::npos) return "\r\n";
  return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

bool EndsWithNewline(std::string_view text) { return !text.empty() && text.back() == '\n'; }

std::string Erase(std::string_view text, std::size_t begin, std::size_t end) {
  std::string result(text.substr(0, begin));
  result.append(text.substr(end));
  return result;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  auto span = FindSection(lines, section);
  if (!span) return std::nullopt;
  auto index = FindKey(lines, *span, key);
  if (!index) return std::nullopt;
  return CleanValue(ParseKeyLine(lines[*index].content)->rawValue);
}

std::vector<std::string> ProfileSectionNames(std::string_view text) {
  std::vector<std::string> names;
  for (const Line& line : SplitLines(text)) {
    auto name = SectionHeader(line.content);
    if (!name) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || EqualNoCase(n, *name);
    if (!seen) names.emplace_back(*name);
  }
  return names;
}

std::optional<std::vector<std::string>> ProfileKeyNames(std::string_view text,
                                                        std::string_view section) {
  const std::vector<Line> lines = SplitLines(text);
  auto span = FindSection(lines, section);
  if (!span) return std::nullopt;
  std::vector<std::string> names;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    auto parsed = ParseKeyLine(lines[i].content);
    if (!parsed) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || EqualNoCase(n, parsed->key);
    if (!seen) names.emplace_back(parsed->key);
  }
  return names;
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  const std::string_view eol = LineEndingOf(text);
  auto span = FindSection(lines, section);

  if (!span) {
    std::string result(text);
    if (!result.empty() && !EndsWithNewline(result)) result.append(eol);
    result.append("[").append(section).append("]").append(eol);
    result.append(key).append("=").append(value).append(eol);
    return result;
  }

  if (auto index = FindKey(lines, *span, key)) {
    const Line& line = lines[*index];
    std::string_view spelling = ParseKeyLine(line.content)->key;
    std::string result(text.substr(0, line.begin));
    result.append(spelling).append("=").append(value);
    // Keep the line's own ending (or its absence at the end of the file).
    result.append(text.substr(line.begin + line.content.size()));
    return result;
  }

  std::size_t last = span->end - 1;
  while (last > span->header && Trim(lines[last].content).empty()) --last;
  const std::size_t insertAt = lines[last].end;
  std::string result(text.substr(0, insertAt));
  if (!EndsWithNewline(result)) result.append(eol);
  result.append(key).append("=").append(value).append(eol);
  result.append(text.substr(insertAt));
  return result;
}

std::string WithoutProfileKey(std::string_view text, std::string_view section,
                              std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  auto span = FindSection(lines, section);
  if (!span) return std::string(text);
  auto index = FindKey(lines, *span, key);
  if (!index) return std::string(text);
  return Erase(text, lines[*index].begin, lines[*index].end);
}

std::string WithoutProfileSection(std::string_view text, std::string_view section) {
  const std::vector<Line> lines = SplitLines(text);
  auto span = FindSection(lines, section);
  if (!span) return std::string(text);
  const std::size_t end = span->end < lines.size() ? lines[span->end].begin : text.size();
  return Erase(text, lines[span->header].begin, end);
}

}  // namespace platform::real
