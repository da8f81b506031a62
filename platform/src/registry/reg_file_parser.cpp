// The .reg text format, read the way regedit imports it: one header line,
// then key sections, each followed by its value lines.
#include <charconv>
#include <cstdint>
#include <optional>
#include <variant>

#include "platform/hive_registry.h"
#include "registry/text_encoding.h"

namespace platform {
namespace {

enum class Format { Regedit4, Version5 };

struct RootName {
  std::string_view name;
  RegistryRoot root;
};
constexpr RootName kRootNames[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
};

constexpr std::string_view kBlanks = " \t";

std::string_view TrimLeft(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  return first == std::string_view::npos ? std::string_view() : s.substr(first);
}
std::string_view TrimRight(std::string_view s) {
  const auto last = s.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}
std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Hex digits only, 1 to `maxDigits` of them.
std::optional<std::uint32_t> ParseHex(std::string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// A quoted string at the start of `rest`, with \\ and \" unescaped; any other
// backslash stays as written. `rest` is left behind the closing quote.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
  std::string text;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      rest.remove_prefix(i + 1);
      return text;
    }
    if (c == '\\' && i + 1 < rest.size() && (rest[i + 1] == '\\' || rest[i + 1] == '"')) {
      text += rest[++i];
    } else {
      text += c;
    }
  }
  return std::nullopt;
}

struct Failure {
  std::string reason;
};
struct DeleteRequest {};
using ValueData = std::variant<RegData, DeleteRequest, Failure>;

std::vector<BYTE> StringBytes(std::string_view text) {
  std::vector<BYTE> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view list) {
  std::vector<BYTE> bytes;
  std::vector<std::string_view> tokens;
  while (true) {
    const auto comma = list.find(',');
    tokens.push_back(Trim(list.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  // regedit ends continued lines with a comma; an empty last token is fine.
  if (tokens.back().empty()) tokens.pop_back();
  for (std::string_view token : tokens) {
    const auto byte = ParseHex(token, 2);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<BYTE>(*byte));
  }
  return bytes;
}

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

ValueData ParseHexData(std::string_view data, Format format) {
  DWORD type = REG_BINARY;
  data.remove_prefix(3);  // "hex"
  if (!data.empty() && data.front() == '(') {
    const auto close = data.find(')');
    if (close == std::string_view::npos) return Failure{"hex( without its closing parenthesis"};
    const auto number = ParseHex(Trim(data.substr(1, close - 1)), 8);
    if (!number) return Failure{"hex(...) needs a type number in hex digits"};
    type = *number;
    data.remove_prefix(close + 1);
  }
  if (data.empty() || data.front() != ':') return Failure{"hex data needs ':' before the bytes"};
  auto bytes = ParseHexBytes(data.substr(1));
  if (!bytes) return Failure{"hex data must be two-digit hex bytes separated by commas"};
  // Version 5 files hold the bytes of string types as UTF-16LE.
  if (format == Format::Version5 && IsStringType(type) && bytes->size() % 2 == 0) {
    const std::string text = registry::Utf16ToUtf8(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
        registry::ByteOrder::Little);
    bytes->assign(text.begin(), text.end());
  }
  return RegData{type, std::move(*bytes)};
}

ValueData ParseValueData(std::string_view data, Format format) {
  if (data == "-") return DeleteRequest{};
  if (!data.empty() && data.front() == '"') {
    auto text = TakeQuoted(data);
    if (!text) return Failure{"string value without its closing quote"};
    if (!Trim(data).empty()) return Failure{"text after the closing quote of a string value"};
    return RegData{REG_SZ, StringBytes(*text)};
  }
  if (StartsWithNoCase(data, "dword:")) {
    const auto number = ParseHex(data.substr(6), 8);
    if (!number) return Failure{"dword: needs 1 to 8 hex digits"};
    std::vector<BYTE> bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(*number >> (8 * i));
    return RegData{REG_DWORD, std::move(bytes)};
  }
  if (StartsWithNoCase(data, "hex")) return ParseHexData(data, format);
  return Failure{"unknown kind of value data"};
}

std::optional<RegistryRoot> RootNamed(std::string_view name) {
  for (const RootName& root : kRootNames) {
    if (EqualNoCase(root.name, name)) return root.root;
  }
  return std::nullopt;
}

std::variant<RegKeyPath, Failure> ParseKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto slash = path.find('\\');
    parts.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  if (parts.size() > 1 && parts.back().empty()) parts.pop_back();  // a trailing '\'
  const auto root = RootNamed(parts.front());
  if (!root) return Failure{"key path does not start with a full root name such as HKEY_LOCAL_MACHINE"};
  RegKeyPath key{*root, {}};
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].empty()) return Failure{"key path with an empty key name"};
    key.names.emplace_back(parts[i]);
  }
  return key;
}

std::optional<Format> HeaderFormat(std::string_view line) {
  line = Trim(line);
  if (EqualNoCase(line, "REGEDIT4")) return Format::Regedit4;
  if (EqualNoCase(line, "Windows Registry Editor Version 5.00")) return Format::Version5;
  return std::nullopt;
}

class RegFileReader {
 public:
  RegFileReader(std::vector<std::string_view> lines, Format format, RegScript& script)
      : lines_(std::move(lines)), format_(format), script_(script) {}

  void ReadFrom(std::size_t index) {
    for (; index < lines_.size(); ++index) {
      const std::string_view line = TrimLeft(lines_[index]);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        ReadSection(line, index);
      } else if (line.front() == '"' || line.front() == '@') {
        ReadValue(index);
      } else {
        Skip(index, "not a key, value or comment line");
      }
    }
  }

 private:
  enum class Section { None, Key, Deleted, Malformed };

  void Skip(std::size_t index, std::string reason) {
    script_.skipped.push_back({static_cast<int>(index + 1), std::move(reason)});
  }

  void ReadSection(std::string_view line, std::size_t index) {
    section_ = Section::Malformed;
    line = TrimRight(line);
    if (line.back() != ']' || line.size() < 2) return Skip(index, "key line without its closing ']'");
    std::string_view inner = line.substr(1, line.size() - 2);
    const bool deleting = !inner.empty() && inner.front() == '-';
    if (deleting) inner.remove_prefix(1);
    auto parsed = ParseKeyPath(inner);
    if (auto* failure = std::get_if<Failure>(&parsed)) return Skip(index, failure->reason);
    auto& key = std::get<RegKeyPath>(parsed);
    if (deleting) {
      if (key.names.empty()) return Skip(index, "a root key cannot be deleted");
      script_.edits.push_back({RegEdit::Action::DeleteKey, key, {}, {}});
      section_ = Section::Deleted;
      return;
    }
    script_.edits.push_back({RegEdit::Action::CreateKey, key, {}, {}});
    current_ = std::move(key);
    section_ = Section::Key;
  }

  // Reads the value at `index` and the lines that continue it, leaving
  // `index` on its last line.
  void ReadValue(std::size_t& index) {
    const std::size_t first = index;
    std::string_view rest = TrimLeft(lines_[index]);
    std::string name;
    if (rest.front() == '@') {
      rest.remove_prefix(1);
    } else {
      auto quoted = TakeQuoted(rest);
      if (!quoted) return Skip(first, "value name without its closing quote");
      name = std::move(*quoted);
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') return Skip(first, "'=' missing after the value name");
    std::string data(Trim(rest.substr(1)));
    if (StartsWithNoCase(data, "hex")) data = JoinContinuedLines(std::move(data), index);

    ValueData parsed = ParseValueData(data, format_);
    if (auto* failure = std::get_if<Failure>(&parsed)) return Skip(first, failure->reason);
    if (section_ == Section::Deleted) return Skip(first, "value below a deleted key");
    if (section_ != Section::Key) return Skip(first, "value without a valid key line before it");
    if (std::holds_alternative<DeleteRequest>(parsed)) {
      script_.edits.push_back({RegEdit::Action::DeleteValue, current_, name, {}});
    } else {
      script_.edits.push_back(
          {RegEdit::Action::SetValue, current_, name, std::get<RegData>(std::move(parsed))});
    }
  }

  std::string JoinContinuedLines(std::string data, std::size_t& index) {
    while (!data.empty() && data.back() == '\\' && index + 1 < lines_.size()) {
      data.pop_back();
      data += Trim(lines_[++index]);
    }
    return data;
  }

  std::vector<std::string_view> lines_;
  Format format_;
  RegScript& script_;
  Section section_ = Section::None;
  RegKeyPath current_;
};

}  // namespace

RegScript ParseRegFile(std::string_view fileBytes) {
  const std::string text = registry::DecodeHiveText(fileBytes);
  std::vector<std::string_view> lines = SplitLines(text);
  RegScript script;
  std::size_t header = 0;
  while (header < lines.size() && Trim(lines[header]).empty()) ++header;
  const auto format = header < lines.size() ? HeaderFormat(lines[header]) : std::nullopt;
  if (!format) {
    script.skipped.push_back(
        {static_cast<int>(header + 1),
         "not a registry file: the first line must be REGEDIT4 or "
         "Windows Registry Editor Version 5.00"});
    return script;
  }
  RegFileReader(std::move(lines), *format, script).ReadFrom(header + 1);
  return script;
}

}  // namespace platform
