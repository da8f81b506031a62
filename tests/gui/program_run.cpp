#include "program_run.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace corvane::guitest {

ProgramRun::ProgramRun(const std::filesystem::path& program, const std::filesystem::path& folder,
                       const std::map<std::string, std::string>& environment) {
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives a test that was killed
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    if (chdir(folder.c_str()) != 0) _exit(126);
    execl(program.c_str(), program.filename().c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

ProgramRun::~ProgramRun() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

bool ProgramRun::Running() {
  if (status_ || pid_ <= 0) return false;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == 0) return true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return false;
}

std::optional<int> ProgramRun::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (Running() || !status_ || *status_ < 0) return std::nullopt;
  return status_;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "corvane-gui-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ScratchFolder::Write(const std::filesystem::path& relative,
                                           const std::string& text) const {
  const std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::string ScratchFolder::Read(const std::filesystem::path& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace corvane::guitest
