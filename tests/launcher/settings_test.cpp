// The settings file as the launcher reads it: real files, a current
// directory of the test's choosing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "fake_services.h"
#include "settings.h"
#include "temp_dir.h"

namespace corvane::testing {
namespace {

struct SettingsAt {
  explicit SettingsAt(const std::string& directory) : currentDirectory(directory) {}
  FakeCurrentDirectory currentDirectory;
  platform::ScopedService<platform::CurrentDirectory> use{currentDirectory};
};

TEST(Settings, KeysMatchInAnyCaseAndLongValuesAreCutTo255) {
  TempDir dir;
  const std::string longUrl = "http://10.0.0.9/" + std::string(284, 'a');
  dir.Write("current.cfg", "[INIT]\r\ndevurl=" + longUrl + "\r\nCONNNAME=Device\r\n");
  SettingsAt settings(dir.Path());

  EXPECT_EQ(std::string(ReadSetting("connName")), "Device");
  EXPECT_EQ(std::string(ReadSetting("DevURL")), longUrl.substr(0, 255));
  EXPECT_EQ(std::string(ReadSetting("DevIP")), "") << "a missing key reads as empty";
}

// Far more than the 243 characters a fixed 256-byte path would leave room for.
TEST(Settings, ADeepCurrentDirectoryStillFindsTheFile) {
  TempDir dir;
  std::string deep = dir.Path();
  while (deep.size() < 600) {
    deep += "/" + std::string(60, 'd');
    ASSERT_EQ(::mkdir(deep.c_str(), 0700), 0);
  }
  dir.Write(deep.substr(dir.Path().size() + 1) + "/current.cfg", "[init]\nDevIP=10.0.0.9\n");
  SettingsAt settings(deep);

  EXPECT_EQ(std::string(SettingsFilePath()), deep + "\\current.cfg");
  EXPECT_EQ(std::string(ReadSetting("DevIP")), "10.0.0.9");
}

TEST(Settings, EveryReadAsksForTheDirectoryAfresh) {
  TempDir first, second;
  first.Write("current.cfg", "[init]\nconnName=First\n");
  second.Write("current.cfg", "[init]\nconnName=Second\n");
  {
    SettingsAt settings(first.Path());
    EXPECT_EQ(std::string(ReadSetting("connName")), "First");
  }
  SettingsAt settings(second.Path());
  EXPECT_EQ(std::string(ReadSetting("connName")), "Second");
}

}  // namespace
}  // namespace corvane::testing
