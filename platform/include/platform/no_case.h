// Names the Windows services match without regard to case (registry keys
// and values, profile sections and keys, locale names) compare with ASCII
// letters folded; other bytes (UTF-8 text) compare as they are.
#pragma once
#include <string_view>

namespace platform {

struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace platform
