#include "process/program_lookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "process/program_starter.h"

namespace platform::real {
namespace {

// The search path when PATH is not set at all, as the C library uses it.
constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

bool IsDirectory(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string ParentOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

ProgramLocation SearchPath(const std::string& name) {
  const char* variable = std::getenv("PATH");
  const std::string searchPath = variable ? variable : kDefaultSearchPath;
  std::string merelyExisting;
  std::size_t begin = 0;
  for (;;) {
    std::size_t colon = searchPath.find(':', begin);
    std::string directory = searchPath.substr(begin, colon == std::string::npos ? colon : colon - begin);
    std::string candidate = (directory.empty() ? std::string(".") : directory) + "/" + name;
    if (IsExecutableFile(candidate)) return {candidate, 0};
    if (merelyExisting.empty() && Exists(candidate)) merelyExisting = candidate;
    if (colon == std::string::npos) break;
    begin = colon + 1;
  }
  // Something by that name that cannot run: let the exec say why.
  if (!merelyExisting.empty()) return {merelyExisting, 0};
  return {"", kFileNotFound};
}

}  // namespace

ProgramLocation LocateProgram(const std::string& name) {
  if (name.empty()) return {"", kFileNotFound};
  if (name.find('/') != std::string::npos) return {name, 0};
  return SearchPath(name);
}

UINT FailureForExecError(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
      // The file is there, so its interpreter or loader is missing.
      if (Exists(path)) return kNotAProgram;
      return IsDirectory(ParentOf(path)) ? kFileNotFound : kPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kPathNotFound;
    case ENOMEM:
    case EAGAIN:
    case E2BIG:
    case EMFILE:
    case ENFILE:
      return kOutOfResources;
    default:  // EACCES, ENOEXEC, EISDIR, ETXTBSY, EPERM, ...
      return kNotAProgram;
  }
}

}  // namespace platform::real
