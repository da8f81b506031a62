// GetCurrentDirectoryA on Linux: the working directory as getcwd(3) reports
// it, with the Win32 buffer contract on top.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "real_services.h"

namespace platform::real {
namespace {

// The working directory of any length; empty when it cannot be read (it was
// removed, say), with errno telling why.
std::string WorkingDirectory() {
  std::string path(256, '\0');
  for (;;) {
    if (::getcwd(path.data(), path.size()) != nullptr) {
      path.resize(std::strlen(path.c_str()));
      return path;
    }
    if (errno != ERANGE) return {};
    path.resize(path.size() * 2);
  }
}

DWORD LastErrorFor(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
      return ERROR_ACCESS_DENIED;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_PATH_NOT_FOUND;
  }
}

class LinuxCurrentDirectory final : public CurrentDirectory {
 public:
  // Success: the length without the terminator. Too small a buffer: the size
  // needed including the terminator, and the buffer is left untouched.
  DWORD Get(DWORD size, LPSTR buffer) override {
    const std::string path = WorkingDirectory();
    if (path.empty()) {
      SetLastError(LastErrorFor(errno));
      return 0;
    }
    const DWORD length = static_cast<DWORD>(path.size());
    if (buffer == nullptr || size <= length) return length + 1;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
  }
};

}  // namespace

CurrentDirectory& TheCurrentDirectory() {
  static LinuxCurrentDirectory directory;
  return directory;
}

}  // namespace platform::real
