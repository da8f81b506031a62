// The framework's entry point, as WinMain was the original framework's: it
// finds the one application object, picks a window system, runs InitInstance
// once, then ExitInstance, and ends the process.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "framework/app.h"
#include "platform/services.h"
#include "window_system_choice.h"
#include "win32/user.h"

namespace {

std::string ProgramPath(const char* argv0) {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) return std::string(path, static_cast<std::size_t>(n));
  return argv0 ? argv0 : "";
}

// Platform services that must tell the user something show it in a message box.
void ShowUserNotice(HWND owner, const char* text, const char* caption) {
  MessageBoxA(owner, text, caption, MB_OK);
}

}  // namespace

int main(int argc, char** argv) {
  CWinApp* app = AfxGetApp();
  std::string program = ProgramPath(argc > 0 ? argv[0] : nullptr);
  std::string name = program.substr(program.find_last_of('/') + 1);
  if (!app) {
    std::fprintf(stderr, "%s: no application object\n", name.c_str());
    return 2;
  }
  std::string whyNot;
  std::unique_ptr<corvane::ui::WindowSystem> windows = corvane::ui::ChooseWindowSystem(whyNot);
  if (!windows) {
    std::fprintf(stderr, "%s: cannot show its windows: %s\n", name.c_str(), whyNot.c_str());
    return 2;
  }
  corvane::ui::SetCurrentWindowSystem(windows.get());
  platform::SetUserNotifier(&ShowUserNotice);
  corvane::framework::InitApplicationNames(*app, program.c_str());

  int status = app->InitInstance() ? app->Run() : app->ExitInstance();

  platform::SetUserNotifier(nullptr);
  corvane::ui::SetCurrentWindowSystem(nullptr);
  windows.reset();
  return status;
}
