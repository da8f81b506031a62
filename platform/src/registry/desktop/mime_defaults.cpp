#include "registry/desktop/mime_defaults.h"

#include <algorithm>

#include "registry/desktop/key_file.h"

namespace platform::desktop {
namespace {

using std::filesystem::path;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  });
  return text;
}

void AddListsOf(const path& directory, const DesktopEnvironment& desktop,
                std::vector<path>& lists) {
  for (const std::string& name : desktop.currentDesktops) {
    lists.push_back(directory / (Lower(name) + "-mimeapps.list"));
  }
  lists.push_back(directory / "mimeapps.list");
}

}  // namespace

std::vector<path> MimeAppsLists(const DesktopEnvironment& desktop) {
  std::vector<path> lists;
  AddListsOf(desktop.configHome, desktop, lists);
  for (const path& directory : desktop.configDirs) AddListsOf(directory, desktop, lists);
  AddListsOf(desktop.dataHome / "applications", desktop, lists);
  for (const path& directory : desktop.dataDirs) {
    AddListsOf(directory / "applications", desktop, lists);
  }
  return lists;
}

std::vector<std::string> DefaultApplications(std::string_view listText, std::string_view mimeType) {
  // MIME types are names without regard to case; desktop IDs are file names.
  const auto value = KeyFileValue(listText, "Default Applications", mimeType, KeyCase::Ignored);
  std::vector<std::string> ids;
  std::string_view rest = value ? std::string_view(*value) : std::string_view();
  while (!rest.empty()) {
    const auto semicolon = rest.find(';');
    std::string_view id = rest.substr(0, semicolon);
    while (!id.empty() && (id.front() == ' ' || id.front() == '\t')) id.remove_prefix(1);
    while (!id.empty() && (id.back() == ' ' || id.back() == '\t')) id.remove_suffix(1);
    if (!id.empty()) ids.emplace_back(id);
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return ids;
}

}  // namespace platform::desktop
