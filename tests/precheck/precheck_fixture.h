// readyscan run against a scripted user and the real registry on a hive file
// written for each case; the thread locale and, unless a test wants the real
// one, the program starter are fakes.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake_services.h"
#include "framework/app.h"
#include "framework/script_window_system.h"
#include "install_app.h"
#include "platform/hive_registry.h"
#include "resource_ids.h"
#include "resources.h"
#include "temp_dir.h"

namespace corvane::testing {

using script::UserScript;
namespace user = script::user;

// The registry of a machine, as .reg sections; each member is one line or
// section, and false or std::nullopt leaves it out. The defaults pass every
// check.
struct Machine {
  bool versionKey = true;
  std::optional<std::string> version = "\"Version\"=\"Windows 95\"";
  bool dialUpKey = true;
  std::optional<std::string> description = "\"Description\"=\"Dial-Up Networking\"";
  bool slipKey = true;
  bool htmlKey = true;
  bool htmlNamesClass = true;  // .html's default value names the class
  std::string className = "htmlfile";
  bool commandKey = true;
  std::optional<std::string> command = "@=\"\\\"/usr/bin/browser\\\" \\\"%1\\\"\"";

  std::string HiveText() const {
    std::string text = "REGEDIT4\r\n\r\n";
    if (versionKey) {
      text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n";
      if (version) text += *version + "\r\n";
    }
    const std::string remoteAccess = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\RemoteAccess";
    if (dialUpKey) {
      text += remoteAccess + "\\NetworkProvider]\r\n";
      if (description) text += *description + "\r\n";
    }
    if (slipKey) text += remoteAccess + "\\Authentication\\SMM_Files\\SLIP]\r\n";
    if (htmlKey) {
      text += "[HKEY_CLASSES_ROOT\\.html]\r\n";
      if (htmlNamesClass) text += "@=\"" + className + "\"\r\n";
    }
    text += "[HKEY_CLASSES_ROOT\\" + className + "]\r\n";
    if (commandKey) {
      text += "[HKEY_CLASSES_ROOT\\" + className + "\\shell\\open\\command]\r\n";
      if (command) text += *command + "\r\n";
    }
    return text;
  }
};

// Transcript lines of the pre-checker's windows.
inline const std::string kOpenMain = "open 102 \"Corvane Install\" centred";
inline const std::string kOpenNoSlip = "open 129 \"Corvane\" centred";
inline const std::string kOpenNoBrowser = "open 132 \"Corvane\" centred";
inline const std::string kNotWindows95Box = "box owner=none \"Corvane\" \"You must use Windows 95 to run this software\" MB_OK";
inline const std::string kNoDialUpBox =
    "box owner=none \"Corvane\" \"Dial up networking must be installed before you set up your connection.\\n"
    "Please install Dial-Up Networking and re-run this install.\" MB_OK";
inline const std::string kCannotCheckBox =
    "box owner=none \"Corvane\" \"Setup could not check for Dialup Networking. If Dialup Networking is installed "
    "on your machine select YES to continue. Otherwise select NO to halt this Setup. Then Install Dialup "
    "Networking and resume the Setup.\" MB_YESNO";
inline const std::string kFileNotFoundBox = "box owner=none \"Corvane\" \"Setup file not found.\" MB_OK";
inline const std::string kPathNotFoundBox = "box owner=none \"Corvane\" \"Setup path not found.\" MB_OK";
inline const std::string kSetupLine = "WinExec \".\\\\install\\\\disk1\\\\Setup.exe\" 5";

class PrecheckTest : public ::testing::Test {
 protected:
  PrecheckTest() {
    res::SetCurrentModule(&PrecheckResources());
    framework::InitApplicationNames(app, "/opt/corvane/readyscan");
    UseMachine(Machine());
    UseLocale(0x0409);
  }
  ~PrecheckTest() override { res::SetCurrentModule(nullptr); }

  // Writes the machine's hive and puts the registry on it, with no desktop,
  // so the browser check sees only the hive.
  void UseMachine(const Machine& machine) { UseHiveText(machine.HiveText()); }
  void UseHiveText(const std::string& text) {
    useRegistry.reset();
    dir.Write("registry.reg", text);
    registry.emplace(std::vector<std::filesystem::path>{dir.File("registry.reg")}, std::nullopt);
    useRegistry.emplace(*registry);
  }

  void UseLocale(LCID lcid) {
    useLocale.reset();
    locale.emplace(lcid);
    useLocale.emplace(*locale);
  }

  // Runs InitInstance to its end; the script must have been played out.
  void Run() {
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(script.Done()) << "scenes never shown:" << script.Pending();
  }

  // Runs the sequence with its own transcript and script, for tables of cases.
  std::string RunCase(const std::function<void(UserScript&)>& scenes) {
    script::Transcript local;
    UserScript localScript;
    scenes(localScript);
    script::ScriptWindowSystem scripted{localScript, local};
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(localScript.Done()) << "scenes never shown:" << localScript.Pending();
    return local.Text();
  }

  void ExpectInOrder(const std::vector<std::string>& lines) {
    EXPECT_TRUE(transcript.HasInOrder(lines)) << "transcript:\n" << transcript.Text();
  }
  void ExpectNo(const std::string& prefix) {
    EXPECT_TRUE(transcript.Matching(prefix).empty()) << "transcript:\n" << transcript.Text();
  }

  TempDir dir;
  std::optional<platform::HiveRegistry> registry;
  std::optional<platform::ScopedService<platform::Registry>> useRegistry;
  std::optional<FakeThreadLocale> locale;
  std::optional<platform::ScopedService<platform::ThreadLocale>> useLocale;

  script::Transcript transcript;
  UserScript script;
  script::ScriptWindowSystem windows{script, transcript};
  CInstallApp app;
};

// The same, with the program starter faked: the sequence's decisions only.
class PrecheckSequenceTest : public PrecheckTest {
 protected:
  FakeProcesses processes;
  platform::ScopedService<platform::Processes> useProcesses{processes};
};

}  // namespace corvane::testing
