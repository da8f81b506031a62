#include "gui_session.h"

#include <FL/Fl.H>

#include <cstdlib>
#include <thread>

#include "ci_policy.h"
#include "framework/fltk_window_system.h"

namespace corvane::guitest {

GuiSession& Gui() {
  static GuiSession session;
  return session;
}

void GuiEnvironment::SetUp() {
  GuiSession& gui = Gui();
  if (!gui.server.Start(gui.whyNot)) return;
  setenv("DISPLAY", gui.server.DisplayName().c_str(), 1);
  gui.windows = ui::TryFltkWindowSystem(gui.whyNot);
  if (!gui.windows) return;
  ui::SetCurrentWindowSystem(gui.windows.get());
  gui.user = std::make_unique<XUser>(gui.server.DisplayName());
}

void GuiEnvironment::TearDown() {
  GuiSession& gui = Gui();
  ui::SetCurrentWindowSystem(nullptr);
  gui.user.reset();
  gui.windows.reset();
  gui.server.Stop();
}

void GuiTest::SetUp() {
  const std::string& why = Gui().whyNot;
  if (Gui().windows && Gui().user) return;
  if (corvane::testing::SkippingForbidden()) FAIL() << "no X server for the GUI tests: " << why;
  GTEST_SKIP() << "no X server for the GUI tests: " << why;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Fl::wait(0.01);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

namespace {
struct PendingStep {
  std::function<bool()> ready;
  std::function<void()> step;
  std::chrono::steady_clock::time_point deadline;
};

void Poll(void* data) {
  auto* pending = static_cast<PendingStep*>(data);
  if (pending->ready() || std::chrono::steady_clock::now() > pending->deadline) {
    // Past the deadline the step still runs: it ends the loop that waits,
    // and the test's checks then fail instead of hanging.
    pending->step();
    delete pending;
    return;
  }
  Fl::repeat_timeout(0.01, &Poll, data);
}
}  // namespace

void WhenReady(std::function<bool()> ready, std::function<void()> step) {
  auto* pending = new PendingStep{std::move(ready), std::move(step),
                                  std::chrono::steady_clock::now() + std::chrono::seconds(5)};
  Fl::add_timeout(0.01, &Poll, pending);
}

std::unique_ptr<OpenDialog> Open(const res::DialogTemplate& dialog, const res::ResourceModule& module) {
  auto open = std::make_unique<OpenDialog>();
  ui::WindowSystem& windows = *Gui().windows;
  open->native = windows.CreateDialogWindow(dialog, module, open->host);
  open->host.Attach(open->native.get());
  const ui::Size screen = windows.ScreenSize();
  const ui::Size frame = open->native->FrameSize();
  open->native->MoveTo((screen.width - frame.width) / 2, (screen.height - frame.height) / 2);
  open->native->Show();
  if (auto xid = Gui().user->FindWindow(dialog.caption)) open->xid = *xid;
  return open;
}

}  // namespace corvane::guitest
