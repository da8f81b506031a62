// Installed desktop entries: finding one by its desktop-file ID and turning
// an application entry into an open command.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_browser.h"

namespace platform::desktop {

// The file of desktop-file ID `id` in the first applications directory that
// has it (the user's data directory, then each system one). An ID names a
// file below applications/, with '-' standing for a subdirectory separator
// where one exists: "vendor-app.desktop" may be vendor/app.desktop.
std::optional<std::filesystem::path> FindDesktopEntry(const DesktopEnvironment& desktop,
                                                      std::string_view id);

// A program name resolved the way a desktop starts it: a name with a slash as
// it stands, any other through the search path. None when no executable
// file is found.
std::optional<std::filesystem::path> ResolveProgram(
    const std::string& program, const std::vector<std::filesystem::path>& searchPath);

// The Windows-style open command of an application entry whose program is
// installed; none for hidden entries, other types, a missing or badly quoted
// Exec line, or a program (or TryExec program) that is not there.
std::optional<std::string> OpenCommandOfEntry(const std::filesystem::path& entry,
                                              const std::vector<std::filesystem::path>& searchPath);

}  // namespace platform::desktop
