// The MIME defaults of mimeapps.list files.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_browser.h"

namespace platform::desktop {

// The mimeapps.list files in the order they count, highest priority first;
// in each directory the lists of the current desktops come before the
// common one.
std::vector<std::filesystem::path> MimeAppsLists(const DesktopEnvironment& desktop);

// The desktop-file IDs that one list's [Default Applications] names for
// `mimeType`, in the order listed.
std::vector<std::string> DefaultApplications(std::string_view listText, std::string_view mimeType);

}  // namespace platform::desktop
