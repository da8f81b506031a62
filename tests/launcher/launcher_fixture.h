// The launcher run against a scripted user and fakes of every platform
// service but the settings files, which are real files in a directory of the
// test's own.
#pragma once
#include <gtest/gtest.h>

#include "fake_services.h"
#include "framework/app.h"
#include "framework/script_window_system.h"
#include "launcher_app.h"
#include "resource_ids.h"
#include "resources.h"
#include "temp_dir.h"

namespace corvane::testing {

using script::UserScript;
namespace user = script::user;

inline const char* const kBrowser = "\"/usr/bin/browser\" \"%1\"";

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    res::SetCurrentModule(&LauncherResources());
    framework::InitApplicationNames(app, "/opt/corvane/dialgate");
    SetBrowserCommand(kBrowser);
    dir.Write("current.cfg",
              "[init]\r\nconnName=Device\r\nDevIP=10.0.0.9\r\nDevURL=http://10.0.0.9/index.htm\r\n");
  }
  ~LauncherTest() override { res::SetCurrentModule(nullptr); }

  void SetBrowserCommand(const std::string& command) {
    registry.Set("HKEY_CLASSES_ROOT\\.html", "", "htmlfile");
    registry.Set("HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command", "", command);
  }

  // Runs InitInstance to its end; the script must have been played out.
  void Run() {
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(script.Done()) << "scenes never shown:" << script.Pending();
  }

  // The transcript holds `lines` in this order.
  void ExpectInOrder(const std::vector<std::string>& lines) {
    EXPECT_TRUE(transcript.HasInOrder(lines)) << "transcript:\n" << transcript.Text();
  }
  void ExpectNo(const std::string& prefix) {
    EXPECT_TRUE(transcript.Matching(prefix).empty()) << "transcript:\n" << transcript.Text();
  }

  TempDir dir;
  FakeCurrentDirectory currentDirectory{dir.Path()};
  FakeRegistry registry;
  FakeRemoteAccess ras;
  FakeIcmpEcho icmp;
  FakeProcesses processes;
  FakeHelp help;
  platform::ScopedService<platform::CurrentDirectory> useDirectory{currentDirectory};
  platform::ScopedService<platform::Registry> useRegistry{registry};
  platform::ScopedService<platform::RemoteAccess> useRas{ras};
  platform::ScopedService<platform::IcmpEcho> useIcmp{icmp};
  platform::ScopedService<platform::Processes> useProcesses{processes};
  platform::ScopedService<platform::Help> useHelp{help};

  script::Transcript transcript;
  UserScript script;
  script::ScriptWindowSystem windows{script, transcript};
  CLauncherApp app;
};

}  // namespace corvane::testing
