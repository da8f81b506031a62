#include "registry/desktop/key_file.h"

#include "platform/hive_registry.h"

namespace platform::desktop {
namespace {

std::string_view Trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r";
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key, KeyCase keyCase) {
  bool inGroup = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      inGroup = line.substr(1, line.size() - 2) == group;
      continue;
    }
    const auto equals = line.find('=');
    if (!inGroup || equals == std::string_view::npos) continue;
    const std::string_view name = Trim(line.substr(0, equals));
    const bool matches = keyCase == KeyCase::Ignored ? EqualNoCase(name, key) : name == key;
    if (matches) return std::string(Trim(line.substr(equals + 1)));
  }
  return std::nullopt;
}

}  // namespace platform::desktop
