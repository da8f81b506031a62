// WinExec on Linux: the command line split by the Windows rules, the program
// name's backslashes read as directory separators, the program started
// directly. No shell ever sees the line, so a URL with ';', '$', '&', quotes
// or backticks reaches the program as plain text. The show command has no
// counterpart here: the program opens its windows as it always does.
#include "process/command_line.h"
#include "process/program_starter.h"
#include "platform/paths.h"
#include "real_services.h"

namespace platform::real {
namespace {

class LinuxProcesses final : public Processes {
 public:
  UINT WinExec(LPCSTR commandLine, UINT /*show*/) override {
    std::vector<std::string> arguments = SplitCommandLine(commandLine ? commandLine : "");
    if (arguments.empty()) return kFileNotFound;
    arguments[0] = ToLinuxPath(arguments[0].c_str());
    return StartProgram(arguments);
  }
};

}  // namespace

Processes& TheProcesses() {
  static LinuxProcesses processes;
  return processes;
}

}  // namespace platform::real
