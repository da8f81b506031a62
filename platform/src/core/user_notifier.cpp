#include <cstdio>

#include "platform/services.h"

namespace platform {
namespace {
UserNotifier notifier = nullptr;
}

void SetUserNotifier(UserNotifier n) { notifier = n; }

void NotifyUser(HWND owner, const char* text, const char* caption) {
  if (notifier) {
    notifier(owner, text, caption);
  } else {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  }
}

}  // namespace platform
