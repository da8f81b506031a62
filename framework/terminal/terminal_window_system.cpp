// Dialogs on a character terminal through curses: windows stacked bottom to
// top, the top one taking the keys while the others stay drawn beneath it.
#include "framework/terminal_window_system.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "message_box.h"
#include "terminal_dialog.h"
#include "terminal_session.h"
#include "win32/user.h"

namespace corvane::ui {
namespace {

using terminal::CellLayout;
using terminal::Key;
using terminal::TerminalDialog;

// How long the modal loop waits for a key before it looks again whether
// its dialog has ended.
constexpr int kKeyWaitMs = 250;

class TerminalWindowSystem final : public WindowSystem, public terminal::WindowStack {
 public:
  explicit TerminalWindowSystem(std::unique_ptr<terminal::TerminalSession> session)
      : session_(std::move(session)), size_(session_->ScreenSize()) {}

  ~TerminalWindowSystem() override {
    for (TerminalDialog* window : windows_) window->Detach();
  }

  const char* Name() const override { return "terminal"; }
  Size ScreenSize() const override { return session_->ScreenSize(); }

  int SystemMetric(int index) const override {
    switch (index) {
      case SM_CXSCREEN: return ScreenSize().width;
      case SM_CYSCREEN: return ScreenSize().height;
      case SM_CXICON: return terminal::kIconCols;
      case SM_CYICON: return terminal::kIconRows;
      default: return 0;
    }
  }

  std::unique_ptr<NativeDialog> CreateDialogWindow(const res::DialogTemplate& dialog,
                                                   const res::ResourceModule& module, DialogHost& host) override {
    CellLayout layout = terminal::LayoutFromTemplate(dialog);
    std::vector<terminal::ShadedBlock> pictures;
    for (const terminal::CellControl& control : layout.controls) {
      if (control.kind != res::ControlKind::Picture) {
        pictures.emplace_back();
        continue;
      }
      // The picture sits inside a one-cell frame.
      pictures.push_back(terminal::ShadeBitmap(module, PictureId(control), control.rect.cols - 2,
                                               control.rect.rows - 2));
    }
    return Adopt(std::make_unique<TerminalDialog>(std::move(layout), std::move(pictures), host, *this));
  }

  void RunModal(NativeDialog& dialog, const std::function<bool()>& ended) override {
    // Every native dialog of this window system is a terminal dialog.
    auto& window = static_cast<TerminalDialog&>(dialog);
    while (!ended()) {
      FollowResize();
      if (dirty_) Redraw();
      std::optional<Key> key = session_->ReadKey(kKeyWaitMs);
      if (!key) continue;
      if (key->kind == Key::Kind::Redraw) session_->ForceFullRedraw();
      if (key->kind == Key::Kind::Resize || key->kind == Key::Kind::Redraw) {
        dirty_ = true;
        continue;
      }
      window.HandleKey(*key);
      // A host that destroyed its own window has nothing left to run.
      if (std::find(windows_.begin(), windows_.end(), &window) == windows_.end()) return;
    }
  }

  int ShowMessageBox(NativeDialog* owner, const std::string& text, const std::string& caption,
                     UINT type) override {
    std::optional<CellLayout> layout = terminal::LayoutMessageBox(text, caption, type, ScreenSize());
    if (!layout) return 0;
    terminal::MessageBoxAnswer answer(type);
    std::unique_ptr<NativeDialog> box =
        Adopt(std::make_unique<TerminalDialog>(std::move(*layout), std::vector<terminal::ShadedBlock>{},
                                               answer, *this));
    answer.PaintInto(box.get());
    Size screen = ScreenSize();
    Size frame = box->FrameSize();
    box->MoveTo(std::max(0, (screen.width - frame.width) / 2), std::max(0, (screen.height - frame.height) / 2));
    box->SetFocus(terminal::DefaultButton(type));
    box->Show();
    RunModal(*box, [&answer] { return answer.Result() != 0; });
    return answer.Result();
  }

  void Flush() override {
    FollowResize();
    if (dirty_) Redraw();
  }

  // ---- the stack, as the windows report to it ----

  void Raise(TerminalDialog& window) override {
    auto at = std::find(windows_.begin(), windows_.end(), &window);
    if (at != windows_.end()) windows_.erase(at);
    windows_.push_back(&window);
    Redraw();
  }

  void Remove(TerminalDialog& window) override {
    auto at = std::find(windows_.begin(), windows_.end(), &window);
    if (at == windows_.end()) return;
    windows_.erase(at);
    Redraw();
  }

  void Changed() override { dirty_ = true; }

 private:
  static int PictureId(const terminal::CellControl& control) {
    if (control.imageId) return control.imageId;
    // A picture named in its text, as a resource script writes it: "#134".
    std::string text = control.text;
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    return std::atoi(text.c_str());
  }

  std::unique_ptr<NativeDialog> Adopt(std::unique_ptr<TerminalDialog> window) {
    windows_.insert(windows_.begin(), window.get());  // hidden until shown, so at the bottom
    return window;
  }

  // Windows were centred on the old screen; keep them where they were
  // relative to its middle.
  void FollowResize() {
    session_->FollowResize();
    Size now = session_->ScreenSize();
    if (now.width == size_.width && now.height == size_.height) return;
    for (TerminalDialog* window : windows_) {
      window->ShiftBy((now.height - size_.height) / 2, (now.width - size_.width) / 2);
    }
    size_ = now;
    dirty_ = true;
  }

  TerminalDialog* TopVisible() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
      if ((*it)->Visible()) return *it;
    }
    return nullptr;
  }

  // The whole screen, bottom window first. Only the cells that changed are
  // sent to the terminal.
  void Redraw() {
    if (drawing_) {
      dirty_ = true;
      return;
    }
    drawing_ = true;
    dirty_ = false;
    terminal::CursesCanvas& canvas = session_->Canvas();
    canvas.Begin();
    TerminalDialog* top = TopVisible();
    std::vector<TerminalDialog*> order = windows_;  // painting hosts may open or close windows
    for (TerminalDialog* window : order) window->Draw(canvas, window == top);
    canvas.Present();
    drawing_ = false;
  }

  std::unique_ptr<terminal::TerminalSession> session_;
  Size size_;
  std::vector<TerminalDialog*> windows_;  // bottom to top
  bool dirty_ = true;
  bool drawing_ = false;
};

}  // namespace

std::unique_ptr<WindowSystem> TryTerminalWindowSystem(std::string& whyNot) {
  std::unique_ptr<terminal::TerminalSession> session = terminal::TerminalSession::Open(whyNot);
  if (!session) return nullptr;
  return std::make_unique<TerminalWindowSystem>(std::move(session));
}

}  // namespace corvane::ui
