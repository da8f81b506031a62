#include "launcher_link_fixture.h"

#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <fstream>
#include <sstream>

#include "framework/app.h"
#include "resources.h"

namespace dialup::testing {

void LauncherOverLink::SetUp() {
  LinkTest::SetUp();
  if (IsSkipped() || HasFatalFailure()) return;
  corvane::res::SetCurrentModule(&LauncherResources());
  std::string browser = "\"" + ProgramBeside("fetch_page") + "\" \"" + PagePath() + "\" \"%1\"";
  registry_.Set("HKEY_CLASSES_ROOT\\.html", "", "htmlfile");
  registry_.Set("HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command", "", browser);
  useRegistry_ = std::make_unique<platform::ScopedService<platform::Registry>>(registry_);
  // The launcher keeps its settings in the directory it runs in.
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd)) savedDirectory_ = cwd;
  ASSERT_EQ(chdir(home_->path().c_str()), 0);
}

void LauncherOverLink::TearDown() {
  if (!savedDirectory_.empty()) (void)!chdir(savedDirectory_.c_str());
  useRegistry_.reset();
  corvane::res::SetCurrentModule(nullptr);
  LinkTest::TearDown();
}

void LauncherOverLink::WriteSettings(const std::string& entry) {
  home_->Write("current.cfg", "[init]\r\nconnName=" + entry + "\r\nDevIP=" + kDeviceAddress +
                                  "\r\nDevURL=" + kDeviceUrl + "\r\n");
}

void LauncherOverLink::RunLauncher(script::Transcript& transcript,
                                   const std::function<void(script::UserScript&)>& afterwards) {
  unlink(PagePath().c_str());
  script::UserScript scenes;
  scenes.InDialog(IDD_LAUNCHER_DIALOG, {user::Press(IDOK)});
  if (afterwards) afterwards(scenes);
  script::ScriptWindowSystem windows{scenes, transcript};
  CLauncherApp app;
  corvane::framework::InitApplicationNames(app, ProgramBeside("dialgate").c_str());
  EXPECT_FALSE(app.InitInstance());
  EXPECT_TRUE(scenes.Done()) << "scenes never shown:" << scenes.Pending() << "\n"
                             << transcript.Text();
}

bool LauncherOverLink::RunLauncherProcess(
    const std::function<void(const script::Transcript&)>& check) {
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    script::Transcript transcript;
    RunLauncher(transcript);
    check(transcript);
    // A normal end, static destructors and all, as when dialgate returns.
    std::exit(HasFailure() ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string LauncherOverLink::FetchedPage(int limitMs) const {
  for (int waited = 0; waited < limitMs; waited += 20) {
    std::ifstream in(PagePath(), std::ios::binary);
    if (in) {
      std::ostringstream text;
      text << in.rdbuf();
      return text.str();
    }
    usleep(20000);
  }
  return {};
}

}  // namespace dialup::testing
