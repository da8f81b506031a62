// The launcher's whole run over a real link: a scripted user in its windows,
// and every platform service real but the registry, which holds a browser
// command that fetches the device URL into a file.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "fake_services.h"
#include "framework/script_window_system.h"
#include "launcher_app.h"
#include "link_fixture.h"
#include "resource_ids.h"

namespace dialup::testing {

namespace script = corvane::script;
namespace user = corvane::script::user;

inline const std::string kDevicePage = "<html><body>Device status: ready</body></html>\n";
inline const std::string kDeviceUrl = std::string("http://") + kDeviceAddress + "/index.htm";

class LauncherOverLink : public LinkTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The launcher's settings: dial `entry`, probe the device, open kDeviceUrl.
  void WriteSettings(const std::string& entry);
  // One launcher run: the user presses OK in the main window, then does
  // `afterwards` (one scene per further dialog or message box).
  void RunLauncher(script::Transcript& transcript,
                   const std::function<void(script::UserScript&)>& afterwards = {});
  // The same run in a process of its own that then ends, as the launcher
  // does; `check` looks at its transcript there. True when all checks held.
  bool RunLauncherProcess(const std::function<void(const script::Transcript&)>& check);
  // The page the browser fetched, once it is there (empty after 10 s).
  std::string FetchedPage(int limitMs = 10000) const;
  std::string PagePath() const { return home_->path() + "/page.out"; }

  corvane::testing::FakeRegistry registry_;
  std::unique_ptr<platform::ScopedService<platform::Registry>> useRegistry_;
  std::string savedDirectory_;
};

}  // namespace dialup::testing
