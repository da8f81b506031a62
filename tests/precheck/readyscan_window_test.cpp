// The readyscan program itself, in real windows on a private Xvfb, reading
// its hive from the user's config directory and starting the setup program
// of its current directory.
#include <gtest/gtest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "ci_policy.h"
#include "temp_dir.h"
#include "x_user.h"
#include "xvfb_server.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string SampleHive() {
  std::ifstream in(CORVANE_SAMPLE_HIVE, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ReadyscanWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    if (!server.Start(why)) {
      if (corvane::testing::SkippingForbidden()) FAIL() << "no X server for readyscan's windows: " << why;
      GTEST_SKIP() << "no X server for readyscan's windows: " << why;
    }
    user = std::make_unique<guitest::XUser>(server.DisplayName());
    fs::create_directories(home.File("config/corvane"));
    fs::create_directories(home.File("work/install/disk1"));
    home.Write("work/install/disk1/Setup.exe", "#!/bin/sh\ntouch setup-started\n");
    fs::permissions(home.File("work/install/disk1/Setup.exe"), fs::perms::owner_all);
  }
  void TearDown() override {
    if (child > 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
  }

  void StartReadyscan(const std::string& hive) {
    home.Write("config/corvane/registry.reg", hive);
    child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::chdir(home.File("work").c_str()) != 0) ::_exit(126);
      ::setenv("DISPLAY", server.DisplayName().c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
      ::setenv("LC_ALL", "en_GB.UTF-8", 1);
      ::execl(READYSCAN_PROGRAM, READYSCAN_PROGRAM, static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }

  // The window titled `title` once it is on screen, with the pointer in it so
  // that it has the keyboard (there is no window manager).
  std::optional<Window> WaitForWindow(const std::string& title) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
      if (auto window = user->FindWindow(title)) {
        const guitest::WindowBox box = user->Box(*window);
        user->MovePointer(box.x + box.width / 2, box.y + 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let it draw and take focus
        return window;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
  }

  // The exit status of readyscan, or none if it is still running after `limit`.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      int status = 0;
      if (::waitpid(child, &status, WNOHANG) == child) {
        child = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
  }

  // Presses `keysym` in the window until readyscan ends; a key that arrives
  // before the window takes input is lost, so it is pressed again.
  std::optional<int> PressUntilExit(unsigned long keysym) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      user->Key(keysym);
      if (auto status = WaitForExit(std::chrono::seconds(2))) return status;
    }
    return std::nullopt;
  }

  bool WaitForFile(const std::string& name) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!home.Exists(name) && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return home.Exists(name);
  }

  guitest::XvfbServer server;
  std::unique_ptr<guitest::XUser> user;
  TempDir home;
  pid_t child = -1;
};

TEST_F(ReadyscanWindowTest, WithTheSampleHiveEnterStartsTheSetupProgram) {
  StartReadyscan(SampleHive());
  ASSERT_TRUE(WaitForWindow("Corvane Install")) << "the main dialog never appeared";
  EXPECT_EQ(PressUntilExit(XK_Return), 0);
  EXPECT_TRUE(WaitForFile("work/setup-started")) << "./install/disk1/Setup.exe never ran";
}

TEST_F(ReadyscanWindowTest, EscapeOnTheSlipWarningEndsWithStatusOne) {
  std::string hive = SampleHive();
  hive += "\r\n[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RemoteAccess\\Authentication\\SMM_Files\\SLIP]\r\n";
  StartReadyscan(hive);
  ASSERT_TRUE(WaitForWindow("Corvane")) << "the SLIP warning never appeared";
  EXPECT_EQ(PressUntilExit(XK_Escape), 1);
  EXPECT_FALSE(home.Exists("work/setup-started"));
}

}  // namespace
}  // namespace corvane::testing
