// WinHelpA on Linux: there is no Windows help viewer, so the help file is
// handed to the desktop's opener, which shows it with whatever the user has
// for that kind of file. The context number has no meaning to an opener; the
// file opens at its start.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/paths.h"
#include "process/program_starter.h"
#include "real_services.h"
#include "win32/help.h"

namespace platform::real {
namespace {

constexpr const char* kOpener = "xdg-open";
constexpr const char* kCaption = "Windows Help";

bool IsFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string CurrentDirectory() {
  std::string path(256, '\0');
  while (::getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return {};
    path.resize(path.size() * 2);
  }
  path.resize(path.find('\0'));
  return path;
}

std::string ProgramDirectory() {
  std::string path(256, '\0');
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of('/'));
}

// The file as given, relative to the current directory, then beside the
// program. Found files come back as absolute paths, so the opener does not
// depend on its own working directory.
std::string FindHelpFile(const std::string& name) {
  if (name.empty()) return {};
  if (name.front() == '/') return IsFile(name) ? name : std::string();
  for (const std::string& directory : {CurrentDirectory(), ProgramDirectory()}) {
    if (directory.empty()) continue;
    std::string candidate = directory + "/" + name;
    if (IsFile(candidate)) return candidate;
  }
  return {};
}

class DesktopHelp final : public Help {
 public:
  BOOL WinHelp(HWND owner, LPCSTR helpFile, UINT command, ULONG_PTR /*data*/) override {
    // Nothing is kept open between calls, so there is nothing to close.
    if (command == HELP_QUIT) return TRUE;
    const std::string given = helpFile ? helpFile : "";
    const std::string found = FindHelpFile(ToLinuxPath(given.c_str()));
    if (!found.empty() && StartProgram({kOpener, found}) == kStarted) return TRUE;
    const std::string text = "Cannot find the " + given + " file.";
    NotifyUser(owner, text.c_str(), kCaption);
    return FALSE;
  }
};

}  // namespace

Help& TheHelp() {
  static DesktopHelp help;
  return help;
}

}  // namespace platform::real
