#include "process/command_line.h"

namespace platform::real {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

class Splitter {
 public:
  explicit Splitter(std::string_view line) : line_(line) {}

  std::vector<std::string> Split() {
    std::vector<std::string> arguments;
    SkipSeparators();
    while (pos_ < line_.size()) {
      arguments.push_back(NextArgument());
      SkipSeparators();
    }
    return arguments;
  }

 private:
  void SkipSeparators() {
    while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
  }

  std::string NextArgument() {
    std::string argument;
    bool quoted = false;
    while (pos_ < line_.size()) {
      const char c = line_[pos_];
      if (!quoted && IsSeparator(c)) break;
      if (c == '\\') {
        TakeBackslashes(argument);
      } else if (c == '"') {
        TakeQuote(argument, quoted);
      } else {
        argument.push_back(c);
        ++pos_;
      }
    }
    return argument;
  }

  // A run of backslashes; a quote right behind it is left for TakeQuote
  // unless the run escapes it.
  void TakeBackslashes(std::string& argument) {
    std::size_t count = 0;
    while (pos_ < line_.size() && line_[pos_] == '\\') {
      ++count;
      ++pos_;
    }
    if (pos_ < line_.size() && line_[pos_] == '"') {
      argument.append(count / 2, '\\');
      if (count % 2 == 1) {
        argument.push_back('"');
        ++pos_;
      }
    } else {
      argument.append(count, '\\');
    }
  }

  void TakeQuote(std::string& argument, bool& quoted) {
    if (quoted && pos_ + 1 < line_.size() && line_[pos_ + 1] == '"') {
      argument.push_back('"');
      quoted = false;
      pos_ += 2;
      return;
    }
    quoted = !quoted;
    ++pos_;
  }

  std::string_view line_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  return Splitter(commandLine).Split();
}

}  // namespace platform::real
