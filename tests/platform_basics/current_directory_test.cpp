#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

// Runs a test body in another working directory and comes back after it.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& path) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~InDirectory() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

TEST(CurrentDirectory, FollowsTheBufferContract) {
  basics_test::ScratchDirectory scratch;
  InDirectory here(scratch.path());
  const std::string expected = std::filesystem::current_path().string();
  const DWORD length = static_cast<DWORD>(expected.size());

  char buffer[4096];
  EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), length);
  EXPECT_EQ(std::string(buffer), expected);

  // Exactly the length leaves no room for the terminator: size needed, and
  // the buffer is not touched.
  std::string small(length, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length, small.data()), length + 1);
  EXPECT_EQ(small, std::string(length, '#'));
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);

  std::string exact(length + 1, '#');
  EXPECT_EQ(GetCurrentDirectoryA(length + 1, exact.data()), length);
  EXPECT_EQ(exact.c_str(), expected);
}

TEST(CurrentDirectory, RootHasItsSlashAndOtherPathsNone) {
  char buffer[16];
  {
    InDirectory here("/");
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 1u);
    EXPECT_STREQ(buffer, "/");
  }
  {
    InDirectory here("/usr/");
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), 4u);
    EXPECT_STREQ(buffer, "/usr");
  }
}

TEST(CurrentDirectory, LongerThanAnyFixedBuffer) {
  basics_test::ScratchDirectory scratch;
  std::filesystem::path deep = scratch.path();
  // Well past 256 and past the first guess of any buffer.
  for (int i = 0; i < 40; ++i) deep /= std::string(60, static_cast<char>('a' + i % 26));
  std::filesystem::create_directories(deep);
  InDirectory here(deep);

  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  ASSERT_GT(needed, 2400u);
  std::string buffer(needed, '\0');
  EXPECT_EQ(GetCurrentDirectoryA(needed, buffer.data()), needed - 1);
  EXPECT_EQ(buffer.c_str(), std::filesystem::current_path().string());
}

TEST(CurrentDirectory, RemovedDirectoryFailsWithZero) {
  auto scratch = std::make_unique<basics_test::ScratchDirectory>();
  const std::filesystem::path gone = scratch->path() / "gone";
  std::filesystem::create_directory(gone);
  const std::filesystem::path saved = std::filesystem::current_path();
  ASSERT_EQ(::chdir(gone.c_str()), 0);
  std::filesystem::remove(gone);
  char buffer[256];
  const DWORD result = GetCurrentDirectoryA(sizeof buffer, buffer);
  std::filesystem::current_path(saved);
  EXPECT_EQ(result, 0u);
  EXPECT_NE(GetLastError(), 0u);
}

}  // namespace
