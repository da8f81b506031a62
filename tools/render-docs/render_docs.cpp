// Draws every dialog and message box of dialgate and readyscan with the
// FLTK window system and writes each as a PNG, with an index page, into the
// folder given as the only argument. Run it on a display of its own (see
// render-docs.sh): the windows open at the top-left corner one by one.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/fltk_window_system.h"
#include "png_file.h"
#include "win32/user.h"
#include "window_picture.h"

// The two programs' resource modules (each program's resources.h, which
// cannot both be included by name).
const corvane::res::ResourceModule& LauncherResources();
const corvane::res::ResourceModule& PrecheckResources();

namespace {

using corvane::docs::RgbPicture;
namespace res = corvane::res;
namespace ui = corvane::ui;

constexpr int kCaptionString = 1;
constexpr const char* kSampleUrl = "http://192.168.7.2/";

struct Program {
  const char* name;
  const res::ResourceModule& module;
  std::vector<std::pair<int, const char*>> dialogNames;
  std::vector<std::pair<int, const char*>> messageNames;
  std::vector<int> yesNoMessages;  // string ids shown as MB_YESNO questions
};

const char* NameOf(const std::vector<std::pair<int, const char*>>& names, int id) {
  for (const auto& [known, name] : names)
    if (known == id) return name;
  return nullptr;
}

class PaintingHost : public ui::DialogHost {
 public:
  ui::NativeDialog* dialog = nullptr;
  void OnButton(int) override {}
  void OnEnter(int) override {}
  void OnEscape() override {}
  void OnCloseBox() override {}
  void OnHelpKey() override {}
  void OnPaint() override {
    if (dialog) dialog->PaintDefault();
  }
};

void Settle() {
  for (int i = 0; i < 10; ++i) Fl::wait(0.02);
}

// One window is open at a time; this finds it by its caption.
Fl_Window* ShownWindow(const std::string& caption) {
  for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window))
    if (window->label() && caption == window->label()) return window;
  return nullptr;
}

RgbPicture DrawDialog(ui::WindowSystem& windows, const res::DialogTemplate& dialog,
                      const res::ResourceModule& module) {
  PaintingHost host;
  auto native = windows.CreateDialogWindow(dialog, module, host);
  host.dialog = native.get();
  // What the programs put in at start: the stored device URL.
  for (const res::ControlTemplate& control : dialog.controls) {
    if (control.kind == res::ControlKind::Edit ||
        (control.kind == res::ControlKind::Static && control.text.empty() && control.id != IDC_STATIC))
      native->SetControlText(control.id, kSampleUrl);
  }
  native->MoveTo(0, 0);
  native->Show();
  Settle();
  const Fl_Window* window = ShownWindow(dialog.caption);
  if (!window) return {};
  return corvane::docs::Framed(corvane::docs::GrabWindow(*window), dialog.caption,
                               dialog.HasCloseBox());
}

struct BoxCapture {
  std::string caption;
  bool closeBox;
  RgbPicture picture;
};

// Runs once the box is up: takes its picture, then closes it.
void CaptureBox(void* data) {
  auto* capture = static_cast<BoxCapture*>(data);
  if (Fl_Window* window = ShownWindow(capture->caption)) {
    capture->picture = corvane::docs::Framed(corvane::docs::GrabWindow(*window), capture->caption,
                                             capture->closeBox);
    window->hide();
  }
}

RgbPicture DrawMessageBox(ui::WindowSystem& windows, const std::string& text,
                          const std::string& caption, UINT type) {
  BoxCapture capture{caption, type != MB_YESNO, {}};
  Fl::add_timeout(0.2, &CaptureBox, &capture);
  windows.ShowMessageBox(nullptr, text, caption, type);
  Fl::remove_timeout(&CaptureBox, &capture);
  return capture.picture;
}

bool Save(const std::filesystem::path& folder, const std::string& file, const RgbPicture& picture,
          std::ofstream& index, const std::string& title) {
  if (!corvane::docs::WritePng(folder / file, picture)) {
    std::fprintf(stderr, "render-docs: could not write %s\n", (folder / file).c_str());
    return false;
  }
  index << "### " << title << "\n\n![" << title << "](" << file << ")\n\n";
  std::printf("%s\n", (folder / file).c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  std::string whyNot;
  auto windows = ui::TryFltkWindowSystem(whyNot);
  if (!windows) {
    std::fprintf(stderr, "render-docs: %s\n", whyNot.c_str());
    return 2;
  }
  ui::SetCurrentWindowSystem(windows.get());

  const std::vector<Program> programs = {
      {"dialgate", LauncherResources(),
       {{102, "main window"}, {131, "Device URL dialog"}, {132, "waiting window"},
        {133, "connection failure dialog"}, {136, "no-browser warning"}},
       {{2, "invalid URL message"}, {3, "connection in use message"}},
       {}},
      {"readyscan", PrecheckResources(),
       {{102, "main dialog"}, {129, "no-SLIP warning"}, {132, "no-browser warning"}},
       {{2, "wrong system message"}, {3, "no Dial-Up Networking message"},
        {4, "setup file not found message"}, {5, "setup path not found message"},
        {6, "Dial-Up Networking question"}},
       {6}},
  };
  std::ofstream index(folder / "windows.md");
  index << "# The windows of dialgate and readyscan\n\n"
           "Drawn by tools/render-docs/render-docs.sh; every file here is generated.\n\n";
  bool ok = true;
  for (const Program& program : programs) {
    index << "## " << program.name << "\n\n";
    for (const res::DialogTemplate& dialog : program.module.dialogs) {
      const char* name = NameOf(program.dialogNames, dialog.id);
      const std::string title = std::string(name ? name : "dialog") + " (" + std::to_string(dialog.id) + ")";
      ok &= Save(folder, std::string(program.name) + "-dialog-" + std::to_string(dialog.id) + ".png",
                 DrawDialog(*windows, dialog, program.module), index, title);
    }
    const std::string* caption = program.module.FindString(kCaptionString);
    for (const res::StringEntry& entry : program.module.strings) {
      if (entry.id == kCaptionString) continue;
      bool yesNo = false;
      for (int id : program.yesNoMessages) yesNo |= static_cast<UINT>(id) == entry.id;
      const char* name = NameOf(program.messageNames, static_cast<int>(entry.id));
      const std::string title = std::string(name ? name : "message") + " (string " + std::to_string(entry.id) + ")";
      ok &= Save(folder, std::string(program.name) + "-message-" + std::to_string(entry.id) + ".png",
                 DrawMessageBox(*windows, entry.text, caption ? *caption : "", yesNo ? MB_YESNO : MB_OK),
                 index, title);
    }
  }
  ui::SetCurrentWindowSystem(nullptr);
  return ok ? 0 : 1;
}
