#include "platform/paths.h"

namespace platform {

std::string ToLinuxPath(const char* windowsPath) {
  std::string path = windowsPath ? windowsPath : "";
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace platform
