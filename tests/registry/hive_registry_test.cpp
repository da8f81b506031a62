// The registry calls on hive files on disk: result codes, the data handed
// back, names without regard to case, and the user's hive over the system's.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/hive_registry.h"
#include "win32/windows.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr REGSAM kSetValue = 0x0002;  // a right this read-only registry refuses

class HiveFiles {
 public:
  HiveFiles() {
    std::string pattern = (fs::temp_directory_path() / "corvane-hive-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary directory");
    dir_ = pattern;
  }
  ~HiveFiles() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }
  fs::path Path(const std::string& name) const { return dir_ / name; }

 private:
  fs::path dir_;
};

// The registry of `files`, in force for the test's scope, with no desktop.
class HiveTest : public ::testing::Test {
 protected:
  void Use(std::vector<fs::path> files) {
    registry_.emplace(std::move(files), std::nullopt);
    use_.emplace(*registry_);
  }

  // The text of HKLM\<key> <value>, or the error code of the first failing call.
  std::variant<std::string, LONG> Read(const char* key, const char* value, HKEY root = HKEY_LOCAL_MACHINE) {
    HKEY handle = nullptr;
    if (LONG opened = RegOpenKeyExA(root, key, 0, KEY_READ, &handle)) return opened;
    char text[256];
    DWORD size = sizeof text;
    LONG read = RegQueryValueExA(handle, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size);
    RegCloseKey(handle);
    if (read) return read;
    return std::string(text);
  }

  HiveFiles files;

 private:
  std::optional<HiveRegistry> registry_;
  std::optional<ScopedService<Registry>> use_;
};

const char* const kSystem =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
    "\"Version\"=\"Windows 95\"\r\n"
    "\"Raw\"=hex(1):41,42\r\n"
    "@=\"default\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\htmlfile\\shell\\open\\command]\r\n"
    "@=\"\\\"/usr/bin/browser\\\" \\\"%1\\\"\"\r\n";

TEST_F(HiveTest, AnswersWithTheDocumentedCodes) {
  Use({files.Write("system.reg", kSystem)});
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Missing", 0, KEY_READ, &key), 2);
  EXPECT_EQ(key, nullptr);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key), 0);

  char text[256];
  DWORD size = sizeof text;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<LPBYTE>(text), &size), 0);
  EXPECT_STREQ(text, "Windows 95");
  EXPECT_EQ(size, 11u);
  EXPECT_EQ(type, REG_SZ);

  size = sizeof text;
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 2);

  size = 10;  // one byte short of the terminator
  EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 234);
  EXPECT_EQ(size, 11u) << "the size needed comes back";

  size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, nullptr, &size), 0) << "size only";
  EXPECT_EQ(size, 11u);

  EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, nullptr, nullptr), 0) << "existence test";
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, nullptr), 2);

  size = sizeof text;
  EXPECT_EQ(RegQueryValueExA(key, "", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 0);
  EXPECT_STREQ(text, "default");
  size = sizeof text;
  EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 0);
  EXPECT_STREQ(text, "default");

  EXPECT_EQ(RegCloseKey(key), 0);
  EXPECT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE)
      << "a closed key is no key";
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ | kSetValue, &key),
            ERROR_ACCESS_DENIED);
}

// A string stored without its terminator is handed back with one, and the
// size counts it, so a caller's buffer always holds a C string.
TEST_F(HiveTest, HandsBackStringsTerminated) {
  Use({files.Write("system.reg", kSystem)});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key), 0);
  char text[8];
  std::memset(text, 'x', sizeof text);
  DWORD size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "Raw", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 0);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(text, "AB");
  size = 2;
  EXPECT_EQ(RegQueryValueExA(key, "Raw", nullptr, nullptr, reinterpret_cast<LPBYTE>(text), &size), 234);
  RegCloseKey(key);
}

TEST_F(HiveTest, MatchesNamesWithoutRegardToCaseAndSeesClassesUnderBothRoots) {
  Use({files.Write("system.reg", kSystem)});
  EXPECT_EQ(Read("software\\MICROSOFT\\windows\\currentversion", "VERSION"), (std::variant<std::string, LONG>("Windows 95")));
  EXPECT_EQ(Read("HTMLFILE\\Shell\\Open\\Command", "", HKEY_CLASSES_ROOT),
            (std::variant<std::string, LONG>("\"/usr/bin/browser\" \"%1\"")));
  HKEY classKey = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "htmlfile", 0, KEY_READ, &classKey), 0);
  EXPECT_EQ(Read("shell\\open\\command", "", classKey), (std::variant<std::string, LONG>("\"/usr/bin/browser\" \"%1\"")))
      << "a subkey path below an opened key";
  RegCloseKey(classKey);
}

TEST_F(HiveTest, AppliesTheUserHiveOverTheSystemHive) {
  const fs::path system = files.Write("system.reg", kSystem);
  const fs::path user = files.Write("user.reg",
                                    "Windows Registry Editor Version 5.00\n"
                                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
                                    "\"Version\"=\"Windows 98\"\n"
                                    "@=-\n"
                                    "[-HKEY_CLASSES_ROOT\\htmlfile]\n"
                                    "[HKEY_LOCAL_MACHINE\\System\\Added]\n");
  Use({system, user});
  using Result = std::variant<std::string, LONG>;
  EXPECT_EQ(Read("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Version"), Result("Windows 98"));
  EXPECT_EQ(Read("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", ""), Result(LONG{2}));
  EXPECT_EQ(Read("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Raw"), Result("AB")) << "untouched values stay";
  EXPECT_EQ(Read("htmlfile\\shell\\open\\command", "", HKEY_CLASSES_ROOT), Result(LONG{2}));
  HKEY added = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\Added", 0, KEY_READ, &added), 0);
  RegCloseKey(added);
}

// A hive that is missing, a directory or not a registry file adds nothing;
// the other hives and the good lines of a damaged one still count.
TEST_F(HiveTest, AnUnreadableHiveIsAnEmptyHive) {
  fs::create_directory(files.Path("directory.reg"));
  const fs::path damaged = files.Write("damaged.reg",
                                       "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Good]\n\"A\"=\"1\n\"B\"=\"2\"\n\x01\x02garbage\n");
  Use({files.Path("missing.reg"), files.Path("directory.reg"), files.Write("binary.reg", std::string("\0\x7f\x45LF", 5)),
       damaged});
  using Result = std::variant<std::string, LONG>;
  EXPECT_EQ(Read("Good", "A"), Result(LONG{2}));
  EXPECT_EQ(Read("Good", "B"), Result("2"));
  EXPECT_EQ(Read("SOFTWARE\\Microsoft", "x"), Result(LONG{2}));
}

}  // namespace
}  // namespace platform
