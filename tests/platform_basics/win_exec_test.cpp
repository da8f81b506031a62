// WinExec starting real programs.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

using basics_test::ReadFile;
using basics_test::ScratchDirectory;
using basics_test::WriteFile;

// What child_report wrote down about itself.
struct ChildReport {
  std::map<std::string, long> ids;
  std::vector<std::string> arguments;
};

std::optional<ChildReport> WaitForReport(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::string text = ReadFile(path);
  ChildReport report;
  std::size_t pos = 0;
  for (int i = 0; i < 5; ++i) {
    std::size_t eq = text.find('=', pos), nl = text.find('\n', pos);
    report.ids[text.substr(pos, eq - pos)] = std::stol(text.substr(eq + 1, nl - eq - 1));
    pos = nl + 1;
  }
  while (pos < text.size()) {
    std::size_t nul = text.find('\0', pos);
    report.arguments.push_back(text.substr(pos, nul - pos));
    pos = nul + 1;
  }
  return report;
}

// Kills a started child at the end of a test, whoever its parent is now.
struct KillAtEnd {
  ~KillAtEnd() {
    if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGKILL);
  }
  long pid = 0;
};

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

TEST(WinExec, ArgumentsArriveAsSplitWithNoShellInBetween) {
  ScratchDirectory scratch;
  const std::string report = scratch / "report";
  const std::string url = "http://10.0.0.2/a?b=1&c=$HOME;touch${IFS}" + (scratch / "pwned") +
                          "|`id`'x'<y>z*";
  const std::string line = Quoted(CHILD_REPORT_PROGRAM) + " " + Quoted(report) + " 0 " +
                           R"(plain "two words" a\\\"b a"b"" c )" + url;
  ASSERT_GT(WinExec(line.c_str(), SW_SHOW), 31u);
  auto child = WaitForReport(report);
  ASSERT_TRUE(child);
  EXPECT_EQ(child->arguments,
            (std::vector<std::string>{"plain", "two words", R"(a\"b)", R"(ab")", "c", url}));
  EXPECT_FALSE(std::filesystem::exists(scratch / "pwned"));
}

TEST(WinExec, ProgramOutlivesTheCallInTheCallersSessionAndLeavesNoZombie) {
  ScratchDirectory scratch;
  const std::string report = scratch / "report";
  const std::string line = Quoted(CHILD_REPORT_PROGRAM) + " " + Quoted(report) + " 30";
  ASSERT_EQ(WinExec(line.c_str(), SW_SHOW), 33u);
  auto child = WaitForReport(report);
  ASSERT_TRUE(child);
  KillAtEnd cleanup{child->ids["pid"]};

  EXPECT_EQ(::kill(static_cast<pid_t>(child->ids["pid"]), 0), 0) << "the program is gone";
  EXPECT_NE(child->ids["ppid"], static_cast<long>(::getpid())) << "the program was not re-parented";
  EXPECT_EQ(child->ids["pgid"], static_cast<long>(::getpgrp()));
  EXPECT_EQ(child->ids["sid"], static_cast<long>(::getsid(0)));
  // Neither the middle process nor the program is left for this process to reap.
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(WinExec, BareNamesAreLookedUpOnPath) {
  ScratchDirectory scratch;
  const std::string bin = scratch / "bin";
  std::filesystem::create_directory(bin);
  std::filesystem::create_symlink(CHILD_REPORT_PROGRAM, bin + "/reporter");
  WriteFile(scratch / "earlier/reporter", "");  // not executable: skipped for the later one
  std::filesystem::create_directory(scratch / "earlier");
  WriteFile(scratch / "earlier/reporter", "not a program");

  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  ::setenv("PATH", ((scratch / "earlier") + ":" + bin + ":/usr/bin:/bin").c_str(), 1);
  const std::string report = scratch / "report";
  const UINT started = WinExec(("reporter " + Quoted(report) + " 0 x").c_str(), SW_SHOW);
  const UINT missing = WinExec("no-such-program-anywhere", SW_SHOW);
  ::setenv("PATH", savedPath.c_str(), 1);

  EXPECT_EQ(started, 33u);
  auto child = WaitForReport(report);
  ASSERT_TRUE(child);
  EXPECT_EQ(child->arguments, std::vector<std::string>{"x"});
  EXPECT_EQ(missing, 2u);
}

TEST(WinExec, FailuresSayWhyTheProgramDidNotStart) {
  ScratchDirectory scratch;
  std::filesystem::create_directories(scratch / "install/disk1");
  WriteFile(scratch / "install/disk1/readme.txt", "text");
  WriteFile(scratch / "install/disk1/noexec.sh", "#!/bin/sh\n");
  WriteFile(scratch / "install/disk1/noshebang", "echo hi\n");
  ::chmod((scratch / "install/disk1/noshebang").c_str(), 0755);
  WriteFile(scratch / "install/disk1/badinterp", "#!/nonexistent/interpreter\n");
  ::chmod((scratch / "install/disk1/badinterp").c_str(), 0755);
  const std::string base = scratch.path().string();

  const struct {
    std::string line;
    UINT expected;
  } cases[] = {
      {base + "\\install\\disk1\\Setup.exe", 2},  // the directory is there, the file is not
      {base + "\\install\\disk2\\Setup.exe", 3},  // a directory on the way is missing
      {base + "/install/disk1/readme.txt/Setup.exe", 3},
      {base + "/install/disk1/readme.txt", 11},   // not executable
      {base + "/install/disk1/noexec.sh", 11},
      {base + "/install/disk1", 11},              // a directory
      {base + "/install/disk1/noshebang", 11},    // executable bit, but no format exec knows
      {base + "/install/disk1/badinterp", 11},    // its interpreter is missing
      {"", 2},
      {"   ", 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WinExec(c.line.c_str(), SW_SHOW), c.expected) << c.line;
  }
  errno = 0;
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a failed start left a child behind";
}

TEST(WinExec, RelativeProgramIsResolvedAgainstTheCurrentDirectory) {
  ScratchDirectory scratch;
  std::filesystem::create_directories(scratch / "install/disk1");
  std::filesystem::copy_file(CHILD_REPORT_PROGRAM, scratch / "install/disk1/Setup.exe");
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(scratch.path());
  const UINT result = WinExec(".\\install\\disk1\\Setup.exe report 0", SW_SHOW);
  std::filesystem::current_path(saved);
  EXPECT_EQ(result, 33u);
  EXPECT_TRUE(WaitForReport(scratch / "report"));
}

TEST(WinExec, ProgramInheritsNoOpenFilesButTheStandardStreams) {
  ScratchDirectory scratch;
  const std::string leaked = scratch / "leaked";
  WriteFile(leaked, "");
  const int fd = ::open(leaked.c_str(), O_RDONLY);  // deliberately without O_CLOEXEC
  ASSERT_GE(fd, 3);
  const std::string listing = scratch / "fds";
  const std::string line = "/bin/sh -c \"ls /proc/$$/fd > '" + listing + ".tmp'; mv '" + listing +
                           ".tmp' '" + listing + "'\"";
  const UINT result = WinExec(line.c_str(), SW_SHOW);
  ::close(fd);
  ASSERT_EQ(result, 33u);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(listing) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::string fds = ReadFile(listing);
  EXPECT_EQ(fds.find(std::to_string(fd) + "\n"), std::string::npos) << fds;
}

}  // namespace
