// A small program on the terminal window system, run under a pseudo-terminal
// by the tests: it opens the windows a scenario names and writes what the
// window system reported to a log file, one event a line.
//   terminal_probe <scenario> <log file> [edit limit]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "framework/terminal_window_system.h"
#include "win32/user.h"

namespace {

using namespace corvane;

std::ofstream g_log;

void Log(const std::string& line) { g_log << line << std::endl; }

// An 8 x 4 pixel, 24-bit bitmap file: the left half black, the right white.
std::vector<unsigned char> HalfBlackBitmap() {
  const int width = 8, height = 4, rowBytes = 24;
  std::vector<unsigned char> bytes(54 + rowBytes * height, 0);
  auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = width / 2; x < width; ++x) {
      for (int c = 0; c < 3; ++c) bytes[54 + y * rowBytes + x * 3 + c] = 0xFF;
    }
  }
  return bytes;
}

res::ControlTemplate Control(int id, res::ControlKind kind, std::string text, DWORD style, int x, int y, int cx,
                             int cy, int imageId = 0) {
  return res::ControlTemplate{id, kind, std::move(text), WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, imageId};
}

res::DialogTemplate Template(std::string caption, DWORD style, int cx, int cy,
                             std::vector<res::ControlTemplate> controls) {
  res::DialogTemplate dialog{};
  dialog.id = 100;
  dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | style;
  dialog.cx = cx;
  dialog.cy = cy;
  dialog.caption = std::move(caption);
  dialog.controls = std::move(controls);
  return dialog;
}

// The probe dialog: 240 x 80 dialog units, 60 x 10 cells inside its frame.
res::DialogTemplate ProbeDialog() {
  using K = res::ControlKind;
  return Template("Probe Window", WS_SYSMENU, 240, 80,
                  {Control(IDOK, K::PushButton, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 184, 8, 48, 14),
                   Control(IDC_STATIC, K::Static, "A long line of text that has to wrap inside its box", 0, 48,
                           8, 80, 24),
                   Control(1000, K::Edit, "start", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 48, 40, 80, 14),
                   Control(2000, K::Static, "mid", SS_CENTER, 48, 64, 80, 8),
                   Control(IDCANCEL, K::PushButton, "Cancel", WS_TABSTOP, 184, 32, 48, 14),
                   Control(IDC_STATIC, K::Picture, "#7", SS_BITMAP, 4, 8, 40, 32, 7)});
}

res::DialogTemplate WaitingDialog() {
  using K = res::ControlKind;
  return Template("Please wait", WS_VISIBLE, 160, 40,
                  {Control(IDC_STATIC, K::Static, "Working on it.", 0, 8, 16, 140, 8)});
}

class LoggingHost : public ui::DialogHost {
 public:
  void OnButton(int id) override {
    Log("button " + std::to_string(id));
    if (id == IDCANCEL) ended = true;
  }
  void OnEnter(int focused) override { Log("enter " + std::to_string(focused)); }
  void OnEscape() override {
    Log("escape");
    ended = true;
  }
  void OnCloseBox() override { Log("close"); }
  void OnHelpKey() override { Log("help"); }
  void OnPaint() override {
    if (window) window->PaintDefault();
  }
  bool ended = false;
  ui::NativeDialog* window = nullptr;
};

void Centre(ui::WindowSystem& ws, ui::NativeDialog& window) {
  ui::Size screen = ws.ScreenSize();
  ui::Size frame = window.FrameSize();
  window.MoveTo((screen.width - frame.width) / 2, (screen.height - frame.height) / 2);
}

int RunDialog(ui::WindowSystem& ws, const res::ResourceModule& module, int limit) {
  LoggingHost host;
  std::unique_ptr<ui::NativeDialog> window = ws.CreateDialogWindow(module.dialogs[0], module, host);
  host.window = window.get();
  if (limit > 0) window->LimitText(1000, limit);
  window->SetFocus(IDOK);
  Centre(ws, *window);
  ui::Size frame = window->FrameSize();
  Log("frame " + std::to_string(frame.width) + "x" + std::to_string(frame.height));
  window->Show();
  ws.RunModal(*window, [&host] { return host.ended; });
  Log("text " + window->ControlText(1000));
  return 0;
}

int RunMessageBoxes(ui::WindowSystem& ws) {
  Log("yesno " + std::to_string(ws.ShowMessageBox(nullptr, "Go on with the check?", "Probe", MB_YESNO)));
  Log("ok " + std::to_string(ws.ShowMessageBox(
                  nullptr, "Invalid URL.\nPlease check your URL setting and try again.", "Probe", MB_OK)));
  return 0;
}

// A modeless window that must stay on screen while the program is busy
// and reads no input, then goes away.
int RunWaiting(ui::WindowSystem& ws, const res::ResourceModule& module) {
  LoggingHost host;
  std::unique_ptr<ui::NativeDialog> window = ws.CreateDialogWindow(module.dialogs[1], module, host);
  host.window = window.get();
  Centre(ws, *window);
  window->Show();
  Log("shown");
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < until) ws.Flush();
  window.reset();
  ws.Flush();
  Log("closed");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 64;
  std::string scenario = argv[1];
  g_log.open(argv[2], std::ios::app);
  int limit = argc > 3 ? std::atoi(argv[3]) : 0;

  std::vector<unsigned char> bitmap = HalfBlackBitmap();
  res::ResourceModule module{};
  module.dialogs = {ProbeDialog(), WaitingDialog()};
  module.bitmaps = {res::Picture{7, 0, bitmap.data(), bitmap.size()}};

  std::string whyNot;
  std::unique_ptr<ui::WindowSystem> ws = ui::TryTerminalWindowSystem(whyNot);
  if (!ws) {
    Log("no terminal: " + whyNot);
    std::fprintf(stderr, "%s\n", whyNot.c_str());
    return 2;
  }
  Log(std::string("screen ") + std::to_string(ws->ScreenSize().width) + "x" +
      std::to_string(ws->ScreenSize().height));
  if (scenario == "dialog") return RunDialog(*ws, module, limit);
  if (scenario == "messagebox") return RunMessageBoxes(*ws);
  if (scenario == "waiting") return RunWaiting(*ws, module);
  if (scenario == "exit") {
    // Leaves through exit() with the window system still open.
    LoggingHost host;
    std::unique_ptr<ui::NativeDialog> window = ws->CreateDialogWindow(module.dialogs[1], module, host);
    window->Show();
    std::exit(1);
  }
  return 64;
}
