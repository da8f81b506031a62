// Windows-style paths handed to platform services, turned into Linux paths.
#pragma once
#include <string>

namespace platform {

// A backslash is a directory separator: "C:\dir\x" is not expected here, but
// the current directory plus "\current.cfg" and ".\install\disk1\Setup.exe"
// are, and name files below the current directory.
std::string ToLinuxPath(const char* windowsPath);

}  // namespace platform
