// WinHelpA handing the help file to the desktop's opener.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/services.h"
#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

using basics_test::ReadFile;
using basics_test::ScratchDirectory;
using basics_test::WriteFile;

struct Notice {
  HWND owner;
  std::string text;
  std::string caption;
};
std::vector<Notice> notices;

void RecordNotice(HWND owner, const char* text, const char* caption) {
  notices.push_back({owner, text, caption});
}

// A fake opener first on PATH that writes down what it was asked to open,
// a recording notifier, and a current directory of the test's own.
class HelpViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    notices.clear();
    platform::SetUserNotifier(&RecordNotice);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    savedDirectory_ = std::filesystem::current_path();
    std::filesystem::create_directory(scratch_ / "bin");
    std::filesystem::create_directory(scratch_ / "work");
    std::filesystem::current_path(scratch_ / "work");
  }
  void TearDown() override {
    platform::SetUserNotifier(nullptr);
    ::setenv("PATH", savedPath_.c_str(), 1);
    std::filesystem::current_path(savedDirectory_);
  }
  void InstallOpener() {
    const std::string opener = scratch_ / "bin/xdg-open";
    WriteFile(opener, "#!/bin/sh\nprintf '%s' \"$*\" > \"" + OpenedRecord() + ".tmp\"\nmv \"" +
                          OpenedRecord() + ".tmp\" \"" + OpenedRecord() + "\"\n");
    ::chmod(opener.c_str(), 0755);
    UseOnlyFakeBin();
  }
  void UseOnlyFakeBin() { ::setenv("PATH", ((scratch_ / "bin") + ":/usr/bin:/bin").c_str(), 1); }
  std::string OpenedRecord() const { return scratch_ / "opened"; }
  std::string WaitForOpened() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(OpenedRecord()) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ReadFile(OpenedRecord());
  }

  ScratchDirectory scratch_;

 private:
  std::string savedPath_;
  std::filesystem::path savedDirectory_;
};

HWND SomeWindow() { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234)); }

TEST_F(HelpViewer, OpensAFileInTheCurrentDirectory) {
  InstallOpener();
  WriteFile(scratch_ / "work/install.hlp", "help");
  EXPECT_TRUE(WinHelpA(SomeWindow(), "install.hlp", HELP_CONTEXT, 0x80844445));
  EXPECT_EQ(WaitForOpened(), scratch_ / "work/install.hlp");
  EXPECT_TRUE(notices.empty());
}

TEST_F(HelpViewer, MissingFileIsReportedWithTheNameAsGiven) {
  InstallOpener();
  EXPECT_FALSE(WinHelpA(SomeWindow(), "install.hlp", HELP_CONTEXT, 0x80844445));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].owner, SomeWindow());
  EXPECT_EQ(notices[0].text, "Cannot find the install.hlp file.");
  EXPECT_EQ(notices[0].caption, "Windows Help");
  EXPECT_FALSE(std::filesystem::exists(OpenedRecord()));

  // Pressed again: asked again, told again.
  EXPECT_FALSE(WinHelpA(SomeWindow(), "install.hlp", HELP_CONTEXT, 0x80844445));
  EXPECT_EQ(notices.size(), 2u);
}

TEST_F(HelpViewer, WithoutAnOpenerTheFileCannotBeShown) {
  WriteFile(scratch_ / "work/install.hlp", "help");
  ::setenv("PATH", (scratch_ / "bin").c_str(), 1);  // nothing in it
  EXPECT_FALSE(WinHelpA(nullptr, "install.hlp", HELP_CONTEXT, 0x80844445));
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, "Cannot find the install.hlp file.");
}

TEST_F(HelpViewer, FindsTheFileBesideTheProgram) {
  InstallOpener();
  const std::filesystem::path besideProgram =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / "basics-help-test.hlp";
  WriteFile(besideProgram.string(), "help");
  const BOOL shown = WinHelpA(nullptr, "basics-help-test.hlp", HELP_CONTEXT, 1);
  const std::string opened = WaitForOpened();
  std::filesystem::remove(besideProgram);
  EXPECT_TRUE(shown);
  EXPECT_EQ(opened, besideProgram.string());
}

TEST_F(HelpViewer, QuitDoesNothing) {
  InstallOpener();
  EXPECT_TRUE(WinHelpA(SomeWindow(), "install.hlp", HELP_QUIT, 0));
  EXPECT_TRUE(notices.empty());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(std::filesystem::exists(OpenedRecord()));
}

}  // namespace
