#include "registry/desktop/desktop_entry.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "registry/desktop/key_file.h"
#include "registry/small_file.h"

namespace platform::desktop {
namespace {

using std::filesystem::path;

constexpr std::string_view kSuffix = ".desktop";

// IDs come from user-editable lists: one that could climb out of the
// applications directory is no ID at all.
bool IsPlausibleId(std::string_view id) {
  return id.size() > kSuffix.size() && id.ends_with(kSuffix) &&
         id.find('/') == std::string_view::npos && id.find('\0') == std::string_view::npos &&
         id.front() != '.';
}

bool IsFile(const path& candidate) {
  std::error_code error;
  return std::filesystem::is_regular_file(candidate, error);
}

bool IsDirectory(const path& candidate) {
  std::error_code error;
  return std::filesystem::is_directory(candidate, error);
}

// `rest` below `directory`, where each '-' may also be a subdirectory
// separator. Only directories that exist are entered, so the walk stays small.
std::optional<path> FindBelow(const path& directory, std::string_view rest) {
  if (IsFile(directory / std::string(rest))) return directory / std::string(rest);
  for (auto dash = rest.find('-'); dash != std::string_view::npos; dash = rest.find('-', dash + 1)) {
    const path sub = directory / std::string(rest.substr(0, dash));
    if (dash == 0 || !IsDirectory(sub)) continue;
    if (auto found = FindBelow(sub, rest.substr(dash + 1))) return found;
  }
  return std::nullopt;
}

bool IsExecutableFile(const path& candidate) {
  return IsFile(candidate) && access(candidate.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<path> FindDesktopEntry(const DesktopEnvironment& desktop, std::string_view id) {
  if (!IsPlausibleId(id)) return std::nullopt;
  std::vector<path> roots{desktop.dataHome};
  roots.insert(roots.end(), desktop.dataDirs.begin(), desktop.dataDirs.end());
  for (const path& root : roots) {
    if (auto found = FindBelow(root / "applications", id)) return found;
  }
  return std::nullopt;
}

std::optional<path> ResolveProgram(const std::string& program, const std::vector<path>& searchPath) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) {
    return IsExecutableFile(program) ? std::optional<path>(program) : std::nullopt;
  }
  for (const path& directory : searchPath) {
    if (IsExecutableFile(directory / program)) return directory / program;
  }
  return std::nullopt;
}

std::optional<std::string> OpenCommandOfEntry(const path& entry, const std::vector<path>& searchPath) {
  const auto text = registry::ReadSmallFile(entry);
  if (!text) return std::nullopt;
  auto value = [&](std::string_view key) {
    return KeyFileValue(*text, "Desktop Entry", key, KeyCase::Sensitive);
  };
  if (const auto type = value("Type"); type && *type != "Application") return std::nullopt;
  if (value("Hidden") == "true") return std::nullopt;
  if (const auto tryExec = value("TryExec"); tryExec && !ResolveProgram(*tryExec, searchPath)) {
    return std::nullopt;
  }
  const auto exec = value("Exec");
  if (!exec) return std::nullopt;
  auto arguments = ExpandDesktopExec(*exec);
  if (!arguments) return std::nullopt;
  const auto program = ResolveProgram(arguments->front(), searchPath);
  if (!program) return std::nullopt;
  arguments->front() = program->string();
  // A program without a field code still gets the URL, after its arguments,
  // as a desktop's opener hands it over.
  const bool hasPlaceholder = std::any_of(arguments->begin() + 1, arguments->end(), [](auto& a) {
    return a.find("%1") != std::string::npos;
  });
  if (!hasPlaceholder) arguments->push_back("%1");
  return JoinWindowsCommandLine(*arguments);
}

}  // namespace platform::desktop
