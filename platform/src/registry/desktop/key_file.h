// The key files of the desktop (mimeapps.list, desktop entries): [Group]
// lines, key=value lines, '#' comments.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform::desktop {

enum class KeyCase { Sensitive, Ignored };

// The first value of `key` in `[group]`, as written (escapes left in), with
// the blanks around '=' and at the end of the line removed.
std::optional<std::string> KeyFileValue(std::string_view text, std::string_view group,
                                        std::string_view key, KeyCase keyCase);

}  // namespace platform::desktop
