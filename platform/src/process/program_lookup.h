// Finding the file a program name refers to, and what a failed start means.
#pragma once
#include <string>

#include "win32/types.h"

namespace platform::real {

struct ProgramLocation {
  std::string path;  // empty when nothing was found
  UINT failure = 0;  // the WinExec result when nothing was found
};

// A name with '/' is used as it is; any other name is looked up on PATH (an
// empty entry meaning the current directory), preferring an executable file
// to a file that merely exists.
ProgramLocation LocateProgram(const std::string& name);

// The WinExec result for an exec of `path` that failed with `error`.
UINT FailureForExecError(const std::string& path, int error);

}  // namespace platform::real
