// The desktop's directories from the XDG base-directory variables, with the
// defaults the XDG documents give when a variable is unset or unusable.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/desktop_browser.h"

namespace platform {
namespace {

using std::filesystem::path;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

path HomeDirectory() {
  const std::string home = Variable("HOME");
  if (!home.empty()) return home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
  return "/";
}

// Relative entries are ignored, as the base-directory rules require.
std::vector<path> AbsoluteEntries(const std::string& list) {
  std::vector<path> entries;
  std::string_view rest = list;
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    const path entry(std::string(rest.substr(0, colon)));
    if (entry.is_absolute()) entries.push_back(entry);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return entries;
}

path DirectoryOr(const char* variable, const path& fallback) {
  const path value(Variable(variable));
  return value.is_absolute() ? value : fallback;
}

std::vector<path> DirectoriesOr(const char* variable, const std::string& fallback) {
  auto entries = AbsoluteEntries(Variable(variable));
  return entries.empty() ? AbsoluteEntries(fallback) : entries;
}

std::vector<std::string> Desktops(const std::string& list) {
  std::vector<std::string> names;
  std::string_view rest = list;
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    if (colon != 0) names.emplace_back(rest.substr(0, colon));
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return names;
}

}  // namespace

DesktopEnvironment DesktopEnvironment::FromProcess() {
  const path home = HomeDirectory();
  DesktopEnvironment desktop;
  desktop.configHome = DirectoryOr("XDG_CONFIG_HOME", home / ".config");
  desktop.configDirs = DirectoriesOr("XDG_CONFIG_DIRS", "/etc/xdg");
  desktop.dataHome = DirectoryOr("XDG_DATA_HOME", home / ".local" / "share");
  desktop.dataDirs = DirectoriesOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  desktop.currentDesktops = Desktops(Variable("XDG_CURRENT_DESKTOP"));
  desktop.programSearchPath = DirectoriesOr("PATH", "/usr/local/bin:/usr/bin:/bin");
  return desktop;
}

}  // namespace platform
