// Starting the setup program for real, from the current directory, with the
// outcomes that the program starter reports.
#include <chrono>
#include <filesystem>
#include <thread>

#include "precheck_fixture.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// The test runs in a current directory of its own, and readyscan is said to
// live in yet another folder.
class SetupStartTest : public PrecheckTest {
 protected:
  SetupStartTest() : previous_(fs::current_path()) {
    fs::current_path(work.Path());
    framework::InitApplicationNames(app, programFolder.File("readyscan").c_str());
  }
  ~SetupStartTest() override { fs::current_path(previous_); }

  static void WriteProgram(const TempDir& dir, const std::string& text, fs::perms mode) {
    fs::create_directories(dir.File("install/disk1"));
    dir.Write("install/disk1/Setup.exe", text);
    fs::permissions(dir.File("install/disk1/Setup.exe"), mode);
  }

  // Confirms in the main dialog, then answers a box if one is expected.
  std::string Confirm(bool boxExpected) {
    return RunCase([&](UserScript& s) {
      s.InDialog(IDD_INSTALL_DIALOG, {user::Press(IDOK)});
      if (boxExpected) s.AnswerBox(IDOK);
    });
  }

  TempDir work;
  TempDir programFolder;

 private:
  fs::path previous_;
};

TEST_F(SetupStartTest, AMissingFileOrPathIsReported) {
  EXPECT_TRUE(Confirm(true).ends_with(kPathNotFoundBox + " -> 1\n")) << "no install folder";
  fs::create_directories(work.File("install"));
  EXPECT_TRUE(Confirm(true).ends_with(kPathNotFoundBox + " -> 1\n")) << "no disk1 folder";
  fs::create_directories(work.File("install/disk1"));
  EXPECT_TRUE(Confirm(true).ends_with(kFileNotFoundBox + " -> 1\n")) << "no Setup.exe";
}

// Other failures to start end the program without a message.
TEST_F(SetupStartTest, AFileThatIsNotAProgramEndsWithoutAMessage) {
  const struct {
    const char* what;
    std::string text;
    fs::perms mode;
  } cases[] = {
      {"not executable", "#!/bin/sh\ntouch ran\n", fs::perms::owner_read | fs::perms::owner_write},
      {"executable but no program format", std::string("MZ\x90\0\3\0\0\0", 8), fs::perms::owner_all},
  };
  for (const auto& c : cases) {
    WriteProgram(work, c.text, c.mode);
    const std::string text = Confirm(false);
    EXPECT_EQ(text.find("box owner"), std::string::npos) << c.what << "\n" << text;
  }
  EXPECT_FALSE(work.Exists("ran"));
}

// The path is resolved against the current directory, not the folder that
// holds readyscan; the program runs there and readyscan does not wait for it.
TEST_F(SetupStartTest, StartsTheSetupProgramOfTheCurrentDirectory) {
  WriteProgram(work, "#!/bin/sh\npwd > started.tmp && mv started.tmp started\n", fs::perms::owner_all);
  WriteProgram(programFolder, "#!/bin/sh\ntouch wrong\n",
               fs::perms::owner_all);
  const std::string text = Confirm(false);
  EXPECT_EQ(text.find("box owner"), std::string::npos) << text;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!work.Exists("started") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(work.Exists("started")) << "the setup program never ran";
  std::string ranIn = work.Read("started");
  if (!ranIn.empty() && ranIn.back() == '\n') ranIn.pop_back();
  EXPECT_EQ(fs::path(ranIn), fs::canonical(work.Path()));
  EXPECT_FALSE(work.Exists("wrong"));
}

}  // namespace
}  // namespace corvane::testing
