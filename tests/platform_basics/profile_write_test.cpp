#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

using basics_test::ReadFile;
using basics_test::ScratchDirectory;
using basics_test::WriteFile;

// A settings file as a person or an installer may have left it: a comment
// before the first section, odd spacing, a comment inside a section, blank
// lines, another section, an unknown key, CRLF endings, no final line end.
const std::string kFixture =
    "; written by the installer\r\n"
    "[Init]\r\n"
    "connName = Device Link\r\n"
    " devurl = http://10.0.0.2/old \r\n"
    "; keep this comment\r\n"
    "Unknown=kept as is  \r\n"
    "\r\n"
    "\r\n"
    "[Other]\r\n"
    "DevURL=not this one\r\n"
    "[init]\r\n"
    "second=section of the same name";

class ProfileWrite : public ::testing::Test {
 protected:
  std::string Path(const std::string& name = "current.cfg") const { return scratch_ / name; }
  ScratchDirectory scratch_;
};

TEST_F(ProfileWrite, ReplacesOnlyTheValueAndKeepsEveryOtherByte) {
  WriteFile(Path(), kFixture);
  ASSERT_TRUE(WritePrivateProfileStringA("init", "DevURL", "http://10.0.0.9/new", Path().c_str()));
  std::string expected = kFixture;
  expected.replace(expected.find(" devurl = http://10.0.0.2/old "), 30, "devurl=http://10.0.0.9/new");
  EXPECT_EQ(ReadFile(Path()), expected);
}

TEST_F(ProfileWrite, AppendsANewKeyAtTheEndOfItsSectionBeforeBlankLines) {
  WriteFile(Path(), kFixture);
  ASSERT_TRUE(WritePrivateProfileStringA("INIT", "DevIP", "10.0.0.9", Path().c_str()));
  std::string expected = kFixture;
  expected.insert(expected.find("\r\n\r\n\r\n[Other]") + 2, "DevIP=10.0.0.9\r\n");
  EXPECT_EQ(ReadFile(Path()), expected);
}

TEST_F(ProfileWrite, NewSectionGoesAtTheEndInTheFilesLineEnding) {
  WriteFile(Path(), kFixture);
  ASSERT_TRUE(WritePrivateProfileStringA("InternetShortcut", "URL", "http://h/", Path().c_str()));
  EXPECT_EQ(ReadFile(Path()), kFixture + "\r\n[InternetShortcut]\r\nURL=http://h/\r\n");

  WriteFile(Path("unix.cfg"), "[a]\nx=1\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "y", "2", Path("unix.cfg").c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("b", "z", "3", Path("unix.cfg").c_str()));
  EXPECT_EQ(ReadFile(Path("unix.cfg")), "[a]\nx=1\ny=2\n[b]\nz=3\n");
}

TEST_F(ProfileWrite, CreatesTheFileButNotItsDirectory) {
  const std::string windowsPath = scratch_.path().string() + "\\corvLink.url";
  ASSERT_TRUE(WritePrivateProfileStringA("InternetShortcut", "URL", "http://10.0.0.2/",
                                         windowsPath.c_str()));
  EXPECT_EQ(ReadFile(Path("corvLink.url")), "[InternetShortcut]\r\nURL=http://10.0.0.2/\r\n");

  const std::string inMissingDirectory = scratch_ / "missing/current.cfg";
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("init", "DevURL", "x", inMissingDirectory.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "missing"));
}

TEST_F(ProfileWrite, NullValueDeletesTheKeyAndNullKeyTheSection) {
  WriteFile(Path(), kFixture);
  ASSERT_TRUE(WritePrivateProfileStringA("init", "DEVURL", nullptr, Path().c_str()));
  std::string expected = kFixture;
  expected.erase(expected.find(" devurl"), std::string(" devurl = http://10.0.0.2/old \r\n").size());
  EXPECT_EQ(ReadFile(Path()), expected);

  ASSERT_TRUE(WritePrivateProfileStringA("other", nullptr, nullptr, Path().c_str()));
  expected.erase(expected.find("[Other]"), std::string("[Other]\r\nDevURL=not this one\r\n").size());
  EXPECT_EQ(ReadFile(Path()), expected);

  // Deleting what is not there changes nothing and creates nothing.
  EXPECT_TRUE(WritePrivateProfileStringA("init", "absent", nullptr, Path().c_str()));
  EXPECT_EQ(ReadFile(Path()), expected);
  EXPECT_TRUE(WritePrivateProfileStringA("init", "k", nullptr, Path("none.cfg").c_str()));
  EXPECT_FALSE(std::filesystem::exists(Path("none.cfg")));
}

TEST_F(ProfileWrite, KeepsPermissionBitsAndSymbolicLinks) {
  WriteFile(Path("real.cfg"), "[init]\nconnName=c\n");
  ASSERT_EQ(::chmod(Path("real.cfg").c_str(), 0640), 0);
  std::filesystem::create_symlink("real.cfg", Path());
  ASSERT_TRUE(WritePrivateProfileStringA("init", "DevIP", "1.2.3.4", Path().c_str()));

  EXPECT_TRUE(std::filesystem::is_symlink(Path()));
  EXPECT_EQ(ReadFile(Path("real.cfg")), "[init]\nconnName=c\nDevIP=1.2.3.4\n");
  struct stat info;
  ASSERT_EQ(::stat(Path("real.cfg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()),
                          std::filesystem::directory_iterator()),
            2);
}

TEST_F(ProfileWrite, RefusesTextThatWouldAddLines) {
  WriteFile(Path(), kFixture);
  const char* cases[][3] = {
      {"init", "DevURL", "http://x/\r\n[init]\r\nconnName=evil"},
      {"init", "DevURL", "http://x/\nconnName=evil"},
      {"init", "Dev\nURL", "x"},
      {"init", "a=b", "x"},
      {"in]it", "k", "x"},
      {"in\nit", "k", "x"},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA(c[0], c[1], c[2], Path().c_str())) << c[1];
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(ReadFile(Path()), kFixture);
}

TEST_F(ProfileWrite, UnreadableTargetIsNeverReplaced) {
  std::filesystem::create_directory(Path());
  WriteFile(Path() + "/inside", "x");
  EXPECT_FALSE(WritePrivateProfileStringA("init", "DevURL", "x", Path().c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(Path()));
  EXPECT_EQ(ReadFile(Path() + "/inside"), "x");
}

// A write that cannot complete (here: the file size limit, as a full disk
// would) reports FALSE and leaves the old file exactly as it was.
TEST_F(ProfileWrite, FailedWriteLeavesTheOldFile) {
  WriteFile(Path(), kFixture);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string huge(4096, 'x');
    BOOL ok = WritePrivateProfileStringA("init", "DevURL", huge.c_str(), Path().c_str());
    ::_exit(ok ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as success";
  EXPECT_EQ(ReadFile(Path()), kFixture);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "the temporary file was left behind";
}

TEST_F(ProfileWrite, ReadsBackWhatItWrote) {
  const std::string value(300, 'v');
  ASSERT_TRUE(WritePrivateProfileStringA("init", "DevURL", value.c_str(), Path().c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("init", "DevIP", "10.0.0.2", Path().c_str()));
  char buffer[256];
  EXPECT_EQ(GetPrivateProfileStringA("init", "devurl", nullptr, buffer, sizeof buffer,
                                     Path().c_str()),
            255u);
  EXPECT_EQ(std::string(buffer), value.substr(0, 255));
  EXPECT_EQ(GetPrivateProfileStringA("init", "DevIP", nullptr, buffer, sizeof buffer,
                                     Path().c_str()),
            8u);
}

}  // namespace
