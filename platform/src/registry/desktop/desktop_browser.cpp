// The desktop's default web browser as a Windows-style open command.
#include "platform/desktop_browser.h"

#include <unistd.h>

#include <system_error>

#include "registry/desktop/desktop_entry.h"
#include "registry/desktop/mime_defaults.h"
#include "registry/small_file.h"

namespace platform {
namespace {

using std::filesystem::path;

// text/html names the browser that opens documents; the http handler is
// where desktops that only know "the web browser" record it.
constexpr std::string_view kBrowserTypes[] = {"text/html", "x-scheme-handler/http"};

std::optional<std::string> DefaultFor(const DesktopEnvironment& desktop, std::string_view type) {
  for (const path& list : desktop::MimeAppsLists(desktop)) {
    const auto text = registry::ReadSmallFile(list);
    if (!text) continue;
    for (const std::string& id : desktop::DefaultApplications(*text, type)) {
      const auto entry = desktop::FindDesktopEntry(desktop, id);
      if (!entry) continue;
      if (auto command = desktop::OpenCommandOfEntry(*entry, desktop.programSearchPath)) {
        return command;
      }
    }
  }
  return std::nullopt;
}

// Debian's alternative is a chain of links through an "alternatives"
// directory; the command names the browser at its end, but no further, so a
// browser started through a link of its own keeps the name it expects.
std::optional<std::string> AlternativeBrowser(const path& alternative) {
  path current = alternative;
  for (int hop = 0; hop < 8; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(current, error)) break;
    if (current != alternative && current.parent_path().filename() != "alternatives") break;
    const path target = std::filesystem::read_symlink(current, error);
    if (error) return std::nullopt;
    current = (target.is_absolute() ? target : current.parent_path() / target).lexically_normal();
  }
  const auto program = desktop::ResolveProgram(current.string(), {});
  if (!program) return std::nullopt;
  return JoinWindowsCommandLine({program->string(), "%1"});
}

}  // namespace

std::optional<std::string> DesktopBrowserCommand(const DesktopEnvironment& desktop) {
  for (std::string_view type : kBrowserTypes) {
    if (auto command = DefaultFor(desktop, type)) return command;
  }
  if (desktop.browserAlternative.empty()) return std::nullopt;
  return AlternativeBrowser(desktop.browserAlternative);
}

}  // namespace platform
