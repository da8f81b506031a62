// A writer killed at any moment never leaves a broken settings file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

using basics_test::ReadFile;
using basics_test::ScratchDirectory;
using basics_test::WriteFile;

constexpr int kKills = 150;

const std::string kStart = "; device settings\r\n[init]\r\nconnName=Device Link\r\nDevURL=start\r\n";

// The one file a save of `url` produces from kStart.
std::string SavedWith(const std::string& url) {
  return "; device settings\r\n[init]\r\nconnName=Device Link\r\nDevURL=" + url + "\r\n";
}

// Saves without end; after the first save it says so on `saved`, so the kill
// that follows lands in a later save however slow the disk is.
[[noreturn]] void SaveForever(const std::string& path, int round, int saved) {
  for (unsigned long i = 0;; ++i) {
    // Values of changing lengths, so a torn write would show.
    const std::string url = "http://10.0.0.2/" + std::string(i % 97, 'p') + std::to_string(round) +
                            "-" + std::to_string(i);
    WritePrivateProfileStringA("init", "DevURL", url.c_str(), path.c_str());
    if (i == 0) {
      (void)!::write(saved, "s", 1);
      ::close(saved);
    }
  }
}

bool IsSavedForm(const std::string& contents) {
  const std::string head = "; device settings\r\n[init]\r\nconnName=Device Link\r\nDevURL=";
  if (contents == kStart) return true;
  if (contents.compare(0, head.size(), head) != 0) return false;
  const std::string url = contents.substr(head.size(), contents.size() - head.size() - 2);
  return contents == SavedWith(url) && url.rfind("http://10.0.0.2/", 0) == 0;
}

TEST(ProfileCrash, KilledWriterNeverLeavesABrokenFile) {
  ScratchDirectory scratch;
  const std::string path = scratch / "current.cfg";
  WriteFile(path, kStart);
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> delayMicroseconds(0, 8000);

  std::string previous = kStart;
  int roundsWithProgress = 0;
  for (int round = 0; round < kKills; ++round) {
    int saved[2];
    ASSERT_EQ(::pipe(saved), 0);
    pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      ::close(saved[0]);
      SaveForever(path, round, saved[1]);
    }
    ::close(saved[1]);
    char byte = 0;
    ASSERT_EQ(::read(saved[0], &byte, 1), 1) << "the writer never finished a save";
    ::close(saved[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ASSERT_EQ(::kill(writer, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string contents = ReadFile(path);
    ASSERT_TRUE(IsSavedForm(contents)) << "round " << round << ":\n" << contents;
    char connName[256];
    GetPrivateProfileStringA("init", "connName", nullptr, connName, sizeof connName, path.c_str());
    ASSERT_STREQ(connName, "Device Link") << "round " << round;
    if (contents != previous) ++roundsWithProgress;
    previous = contents;
  }
  // Every round saved at least once before its kill.
  EXPECT_EQ(roundsWithProgress, kKills);
}

}  // namespace
