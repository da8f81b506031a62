// The Exec line of a desktop entry, and the Windows command line it becomes.
#include <optional>

#include "platform/desktop_browser.h"

namespace platform {
namespace {

// The escapes of a desktop-entry string value; any other backslash is left
// for the Exec quoting rules below.
std::string UnescapeStringValue(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      text += value[i];
      continue;
    }
    switch (value[i + 1]) {
      case 's': text += ' '; break;
      case 'n': text += '\n'; break;
      case 't': text += '\t'; break;
      case 'r': text += '\r'; break;
      case '\\': text += '\\'; break;
      default: text += value[i]; continue;  // keep the backslash, read the next character as usual
    }
    ++i;
  }
  return text;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsQuotedEscape(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

// Splits at blanks outside double quotes; inside quotes a backslash escapes
// ", `, $ and \. None when a quote is left open.
std::optional<std::vector<std::string>> SplitExec(const std::string& line) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < line.size() && IsQuotedEscape(line[i + 1])) {
        current += line[++i];
      } else {
        current += c;
      }
    } else if (IsSeparator(c)) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      inArgument = true;
      if (c == '"') {
        quoted = true;
      } else {
        current += c;
      }
    }
  }
  if (quoted) return std::nullopt;
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

// Applies the field codes of one argument. None when the argument consisted
// of field codes that all went away, so the argument goes too.
std::optional<std::string> ApplyFieldCodes(const std::string& argument) {
  std::string result;
  bool removedCode = false;
  for (std::size_t i = 0; i < argument.size(); ++i) {
    if (argument[i] != '%' || i + 1 == argument.size()) {
      result += argument[i];
      continue;
    }
    const char code = argument[++i];
    if (code == '%') {
      result += '%';
    } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
      result += "%1";
    } else {
      removedCode = true;  // %i %c %k, the deprecated codes, and unknown ones
    }
  }
  if (result.empty() && removedCode) return std::nullopt;
  return result;
}

bool NeedsQuotes(const std::string& argument) {
  return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string::npos;
}

// Quoting that the Windows splitting rules undo: backslashes count only
// before a quote, where they are doubled, and each quote is escaped.
std::string Quoted(const std::string& argument) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + '"';
}

}  // namespace

std::optional<std::vector<std::string>> ExpandDesktopExec(std::string_view execValue) {
  const auto split = SplitExec(UnescapeStringValue(execValue));
  if (!split) return std::nullopt;
  std::vector<std::string> arguments;
  for (const std::string& argument : *split) {
    if (auto applied = ApplyFieldCodes(argument)) arguments.push_back(std::move(*applied));
  }
  if (arguments.empty() || arguments.front().empty()) return std::nullopt;
  return arguments;
}

std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (i > 0) line += ' ';
    const bool alwaysQuoted = i == 0 || argument == "%1";
    line += (alwaysQuoted || NeedsQuotes(argument)) ? Quoted(argument) : argument;
  }
  return line;
}

}  // namespace platform
