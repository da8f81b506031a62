#include "dialup/phonebook.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "win32/ras.h"

namespace {

using dialup::FindEntryInText;

constexpr const char* kBook =
    "; dial-up entries\n"
    "[Lab Device]\r\n"
    "device=/dev/ttyUSB0\r\n"
    "local=10.0.0.1\r\n"
    "remote=10.0.0.2\r\n"
    "\n"
    "[Modem]\n"
    "DEVICE = /dev/ttyS1\n"
    "speed=57600\n"
    "flow=RTSCTS\n"
    "phone=0,5551234\n"
    "init=ATZ E0\n"
    "local=192.0.2.1\n"
    "remote=192.0.2.2\n"
    "mtu=296\n"
    "timeout=5\n"
    "interface=sl7\n"
    "device=/dev/ignored\n";

TEST(Phonebook, DefaultsAndEveryKey) {
  auto lab = FindEntryInText("Lab Device", kBook);
  ASSERT_TRUE(lab.entry) << lab.problem;
  EXPECT_EQ(lab.entry->device, "/dev/ttyUSB0");
  EXPECT_EQ(lab.entry->speed, 115200u);
  EXPECT_EQ(lab.entry->flow, dialup::FlowControl::None);
  EXPECT_EQ(lab.entry->mtu, 1006u);
  EXPECT_EQ(lab.entry->timeoutSeconds, 60u);
  EXPECT_TRUE(lab.entry->phone.empty());
  EXPECT_TRUE(lab.entry->interface.empty());

  auto modem = FindEntryInText("modem", kBook);  // names match without regard to case
  ASSERT_TRUE(modem.entry) << modem.problem;
  EXPECT_EQ(modem.entry->name, "Modem");
  EXPECT_EQ(modem.entry->device, "/dev/ttyS1");  // first occurrence of a key wins
  EXPECT_EQ(modem.entry->speed, 57600u);
  EXPECT_EQ(modem.entry->flow, dialup::FlowControl::RtsCts);
  EXPECT_EQ(modem.entry->phone, "0,5551234");
  EXPECT_EQ(modem.entry->init, "ATZ E0");
  EXPECT_EQ(modem.entry->local, "192.0.2.1");
  EXPECT_EQ(modem.entry->remote, "192.0.2.2");
  EXPECT_EQ(modem.entry->mtu, 296u);
  EXPECT_EQ(modem.entry->timeoutSeconds, 5u);
  EXPECT_EQ(modem.entry->interface, "sl7");
}

TEST(Phonebook, UnusableEntriesSayWhy) {
  struct Case {
    const char* lines;
    DWORD error;
    const char* mentions;
  } cases[] = {
      {"local=10.0.0.1\nremote=10.0.0.2\n", ERROR_DEVICE_DOES_NOT_EXIST, "device"},
      {"device=/dev/x\nremote=10.0.0.2\n", ERROR_SLIP_REQUIRES_IP, "local"},
      {"device=/dev/x\nlocal=10.0.0\nremote=10.0.0.2\n", ERROR_SLIP_REQUIRES_IP, "IPv4"},
      {"device=/dev/x\nlocal=10.0.0.1\nremote=10.0.0.2\nspeed=fast\n",
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "speed"},
      {"device=/dev/x\nlocal=10.0.0.1\nremote=10.0.0.2\nflow=xonxoff\n",
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "flow"},
      {"device=/dev/x\nlocal=10.0.0.1\nremote=10.0.0.2\nmtu=20\n",
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "mtu"},
      {"device=/dev/x\nlocal=10.0.0.1\nremote=10.0.0.2\ntimeout=0\n",
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "timeout"},
      {"device=/dev/x\nlocal=10.0.0.1\nremote=10.0.0.2\ninterface=a-very-long-name0\n",
       ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "interface"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    auto found = FindEntryInText("E", std::string("[E]\n") + c.lines);
    EXPECT_FALSE(found.entry);
    EXPECT_FALSE(found.missing);
    EXPECT_EQ(found.error, c.error);
    EXPECT_NE(found.problem.find(c.mentions), std::string::npos) << found.problem;
  }
  auto missing = FindEntryInText("Nowhere", kBook);
  EXPECT_TRUE(missing.missing);
  EXPECT_EQ(missing.error, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
}

class PhonebookFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("corvane-pb-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const char* name, const std::string& text) {
    auto path = dir_ / name;
    std::ofstream(path) << text;
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(PhonebookFiles, PerUserEntryWinsOverSystemWide) {
  std::string user = Write("user.ini", "[Shared]\ndevice=/dev/user\nlocal=10.0.0.1\nremote=10.0.0.2\n");
  std::string system = Write("system.ini",
                             "[SHARED]\ndevice=/dev/system\nlocal=10.0.0.1\nremote=10.0.0.2\n"
                             "[Only System]\ndevice=/dev/sys2\nlocal=10.0.0.1\nremote=10.0.0.2\n");
  std::vector<std::string> books = {user, system, dir_.string() + "/absent.ini"};
  EXPECT_EQ(dialup::FindEntry("shared", books).entry->device, "/dev/user");
  EXPECT_EQ(dialup::FindEntry("only system", books).entry->device, "/dev/sys2");
  EXPECT_TRUE(dialup::FindEntry("neither", books).missing);
  EXPECT_EQ(dialup::EntryNames(books), (std::vector<std::string>{"Shared", "Only System"}));
}

TEST_F(PhonebookFiles, EntryNamesUpTo255Characters) {
  std::string longest(255, 'n');
  std::string book = Write("long.ini", "[" + longest + "]\ndevice=/dev/x\nlocal=10.0.0.1\n"
                                       "remote=10.0.0.2\n[" + longest + "n]\ndevice=/dev/y\n");
  EXPECT_TRUE(dialup::FindEntry(longest, {book}).entry);
  auto tooLong = dialup::FindEntry(longest + "n", {book});
  EXPECT_FALSE(tooLong.entry);
  EXPECT_EQ(tooLong.error, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY);
  EXPECT_FALSE(dialup::FindEntry("", {book}).entry);
}

TEST(PhonebookLocations, PerUserFromXdgConfigHomeThenEtc) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/home/u/cfg", 1);
  EXPECT_EQ(dialup::DefaultPhonebooks(),
            (std::vector<std::string>{"/home/u/cfg/corvane/phonebook.ini",
                                      "/etc/corvane/phonebook.ini"}));
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the XDG rules say
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(dialup::DefaultPhonebooks().front(), "/home/u/.config/corvane/phonebook.ini");
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
