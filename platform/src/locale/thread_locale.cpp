// GetThreadLocale on Linux: the message locale of the environment, with the
// POSIX precedence LC_ALL, LC_MESSAGES, LANG. Read on every call, so a
// program sees the environment it runs in now.
#include <cstdlib>

#include "locale/locale_to_lcid.h"
#include "real_services.h"

namespace platform::real {
namespace {

const char* MessageLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

class EnvironmentThreadLocale final : public ThreadLocale {
 public:
  LCID Get() override { return LcidForLocaleName(MessageLocaleName()); }
};

}  // namespace

ThreadLocale& TheThreadLocale() {
  static EnvironmentThreadLocale locale;
  return locale;
}

}  // namespace platform::real
