// A program run with a pseudo-terminal as its controlling terminal, the way
// a user's terminal emulator runs it: the test types into the master side
// and reads the screen the program draws.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vt_screen.h"

namespace corvane::testing {

struct PtyLaunch {
  std::string program;
  std::vector<std::string> arguments;
  std::string directory;                 // the program's current directory
  std::vector<std::string> environment;  // NAME=value, on top of PATH and HOME
  int rows = 25;
  int cols = 80;
};

class PtyProgram {
 public:
  explicit PtyProgram(const PtyLaunch& launch);
  ~PtyProgram();  // ends the program if it still runs
  PtyProgram(const PtyProgram&) = delete;
  PtyProgram& operator=(const PtyProgram&) = delete;

  void Type(const std::string& keys);
  // Reads output until `done` holds for the screen or the time is up; true
  // when it held.
  bool WaitUntil(const std::function<bool(const VtScreen&)>& done,
                 std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool WaitForText(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool WaitForNoText(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(10));
  // The exit status once the program ended within the time; nullopt otherwise.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool Killed(int* signal) const;
  void Resize(int rows, int cols);
  void CloseTerminal();  // as when the terminal window is closed

  const VtScreen& Screen() const { return screen_; }
  const std::string& Output() const { return output_; }  // every byte the program wrote
  int MasterFd() const { return master_; }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr int kQuietMs = 80;
  bool Pump(int timeoutMs);  // true when output arrived
  void Settle(Clock::time_point deadline);

  int master_ = -1;
  pid_t child_ = -1;
  int status_ = 0;
  bool exited_ = false;
  VtScreen screen_;
  std::string output_;
};

}  // namespace corvane::testing
