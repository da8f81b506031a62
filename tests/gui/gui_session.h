// What every GUI test stands on: a private Xvfb, the FLTK window system on
// it, and a user at the same server. One per test program (FLTK holds one
// display per process).
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/window_system.h"
#include "x_user.h"
#include "xvfb_server.h"

namespace corvane::guitest {

struct GuiSession {
  XvfbServer server;
  std::unique_ptr<ui::WindowSystem> windows;
  std::unique_ptr<XUser> user;
  std::string whyNot;  // empty when ready
};
GuiSession& Gui();

// Installed by the test program's main.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;
};

// Tests skip where no X server can be started, except in CI, where they fail.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  ui::WindowSystem& Windows() { return *Gui().windows; }
  XUser& User() { return *Gui().user; }
};

// Dispatches window events (as a modal loop would) until `done` or the time
// is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5));
void PumpFor(std::chrono::milliseconds time);

// Runs `step` from inside whatever loop is dispatching (a message box's, a
// modal dialog's), once `ready` holds; for input to windows that block.
void WhenReady(std::function<bool()> ready, std::function<void()> step);

// The framework's side of a dialog, recording what the window system reports.
class RecordingHost : public ui::DialogHost {
 public:
  void Attach(ui::NativeDialog* dialog) { dialog_ = dialog; }
  void OnButton(int id) override { events.push_back("button " + std::to_string(id)); }
  void OnEnter(int id) override { events.push_back("enter " + std::to_string(id)); }
  void OnEscape() override { events.push_back("escape"); }
  void OnCloseBox() override { events.push_back("close"); }
  void OnHelpKey() override { events.push_back("help"); }
  void OnPaint() override {
    if (dialog_) dialog_->PaintDefault();
  }
  std::vector<std::string> events;

 private:
  ui::NativeDialog* dialog_ = nullptr;
};

// A dialog made, centred as the framework centres it, and shown.
struct OpenDialog {
  RecordingHost host;
  std::unique_ptr<ui::NativeDialog> native;
  Window xid = 0;
};
std::unique_ptr<OpenDialog> Open(const res::DialogTemplate& dialog, const res::ResourceModule& module);

}  // namespace corvane::guitest
