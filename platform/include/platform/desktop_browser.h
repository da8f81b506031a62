// The desktop's default web browser, found the way a Linux desktop finds it:
// the MIME defaults of mimeapps.list, the chosen desktop entry's Exec line,
// and Debian's x-www-browser alternative when no default is set. The result
// is an open command written as Windows writes one in the registry:
// "program" arguments "%1", where "%1" stands for the document or URL.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where the desktop keeps its settings and applications. FromProcess() reads
// the XDG base directories, XDG_CURRENT_DESKTOP and PATH with their documented
// defaults; tests fill in their own directories.
struct DesktopEnvironment {
  std::filesystem::path configHome;             // XDG_CONFIG_HOME
  std::vector<std::filesystem::path> configDirs;  // XDG_CONFIG_DIRS
  std::filesystem::path dataHome;               // XDG_DATA_HOME
  std::vector<std::filesystem::path> dataDirs;  // XDG_DATA_DIRS
  std::vector<std::string> currentDesktops;     // XDG_CURRENT_DESKTOP, as listed
  std::vector<std::filesystem::path> programSearchPath;  // PATH
  std::filesystem::path browserAlternative = "/usr/bin/x-www-browser";

  static DesktopEnvironment FromProcess();
};

// The browser's open command, or none when the desktop names no browser that
// is installed and the x-www-browser alternative is missing too.
std::optional<std::string> DesktopBrowserCommand(const DesktopEnvironment& desktop);

// The arguments of a desktop entry's Exec value, unquoted, with the field
// codes applied: %f %F %u %U become the placeholder "%1", %% becomes %, every
// other field code goes. None when the value is empty or badly quoted.
std::optional<std::vector<std::string>> ExpandDesktopExec(std::string_view execValue);

// Arguments joined into one Windows command line that the Windows splitting
// rules take apart into the same arguments. The program is always quoted, as
// is an argument that is just the placeholder.
std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments);

}  // namespace platform
