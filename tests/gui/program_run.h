// One of our programs run as a user runs it: its own process, in a working
// folder of the test's, with the test's display and home.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace corvane::guitest {

class ProgramRun {
 public:
  // Starts `program` in `folder`, with `environment` set on top of ours.
  ProgramRun(const std::filesystem::path& program, const std::filesystem::path& folder,
             const std::map<std::string, std::string>& environment);
  ~ProgramRun();  // ends the program if it still runs
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // The exit status once the program has ended within `limit`; nullopt if it
  // still runs (or ended by a signal).
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  bool Running();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes `text` to the file at `relative`, making its folders.
  std::filesystem::path Write(const std::filesystem::path& relative, const std::string& text) const;
  std::string Read(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace corvane::guitest
