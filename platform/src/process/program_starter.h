// Starting a program the way WinExec does: directly (never through a shell),
// detached from the caller's process tree, and reporting whether it started.
#pragma once
#include <string>
#include <vector>

#include "win32/types.h"

namespace platform::real {

// The WinExec result for each outcome.
constexpr UINT kStarted = 33;
constexpr UINT kOutOfResources = 0;
constexpr UINT kFileNotFound = 2;
constexpr UINT kPathNotFound = 3;
constexpr UINT kNotAProgram = 11;

// Starts arguments[0] with the arguments as given. A program name without
// '/' is looked up on PATH. The program outlives the caller, is never left a
// zombie, keeps the caller's session, process group and standard streams, and
// inherits no other open file. Returns kStarted once the program image is
// running, or why it could not start.
UINT StartProgram(const std::vector<std::string>& arguments);

}  // namespace platform::real
