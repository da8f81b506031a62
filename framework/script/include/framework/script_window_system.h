// The scripted window system: tests play the user. A test lists, in the order
// they appear, the dialogs and message boxes the program will show and what
// the user does in each; every window event goes to the transcript:
//
//   open 102 "Corvane V1.2" centred        a dialog shown (modal or modeless)
//   text 102:1002 "http://10.0.0.9/"        the program set a control's text
//   icon 102 big | icon 102 small           WM_SETICON
//   press 102:1000 | type 131:1000 "..." | enter 131 | escape 131 | close-box 131 | help-key 133
//   close 132                               the window went away (dialog ended or destroyed)
//   box owner=131 "Corvane" "Invalid URL.\nPlease ..." MB_OK -> 1
//   paint 102 default | paint 102 erase-icon-background | paint 102 draw-icon 2,2
//
// A dialog or box the script has no answer for, or a dialog still open after
// its last act, throws ScriptError: the test fails instead of hanging.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/transcript.h"
#include "framework/window_system.h"

namespace corvane::script {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptedDialog;

// One thing the user does in a dialog.
struct Act {
  enum class Kind { Press, Type, Enter, Escape, CloseBox, HelpKey, Paint, Check };
  Kind kind;
  int controlId = 0;
  std::string text;
  bool iconic = false;
  RECT client{0, 0, 0, 0};
  std::function<void(const ScriptedDialog&)> check;
};

namespace user {
Act Press(int controlId);
Act Type(int controlId, std::string text);  // replaces the field's text, as typing does
Act Enter();
Act Escape();
Act CloseBox();
Act HelpKey();
// The window needs painting, minimized or not, with this client rectangle.
Act Paint(bool iconic, RECT client);
// Looks at the dialog as it stands (texts, focus, icons).
Act Check(std::function<void(const ScriptedDialog&)> check);
}  // namespace user

class UserScript {
 public:
  // The next modal dialog to appear is `templateId`; the user does `acts` in it.
  UserScript& InDialog(int templateId, std::vector<Act> acts);
  // The next message box to appear is answered with `answer` (IDOK, IDYES, IDNO).
  UserScript& AnswerBox(int answer);

  struct Scene {
    bool isBox;
    int templateId;
    std::vector<Act> acts;
    int answer;
  };
  bool Done() const { return next_ == scenes_.size(); }
  Scene* Next();
  std::string Pending() const;

 private:
  std::vector<Scene> scenes_;
  std::size_t next_ = 0;
};

// A dialog window as the scripted window system keeps it.
class ScriptedDialog : public ui::NativeDialog {
 public:
  ScriptedDialog(class ScriptWindowSystem& system, const res::DialogTemplate& dialogTemplate,
                 ui::DialogHost& host);
  ~ScriptedDialog() override;

  ui::Size FrameSize() const override;
  void MoveTo(int x, int y) override;
  void Show() override;
  std::string ControlText(int controlId) const override;
  void SetControlText(int controlId, const std::string& text) override;
  void LimitText(int controlId, int maxChars) override;
  void SetFocus(int controlId) override;
  void SetIcon(ui::IconSize which, const res::Image* icon) override;
  bool IsIconic() const override { return iconic_; }
  RECT ClientRect() const override { return client_; }
  void PaintDefault() override;
  void EraseIconBackground() override;
  void DrawIcon(int x, int y, const res::Image& icon) override;

  int TemplateId() const { return template_.id; }
  int Focus() const { return focus_; }
  bool HasIcon(ui::IconSize which) const;
  bool Shown() const { return shown_; }
  int X() const { return x_; }
  int Y() const { return y_; }

  void Perform(const Act& act);

 private:
  std::string Name() const;

  ScriptWindowSystem& system_;
  const res::DialogTemplate& template_;
  ui::DialogHost& host_;
  std::map<int, std::string> texts_;
  std::map<int, int> limits_;
  int focus_ = 0;
  bool icons_[2] = {false, false};
  bool shown_ = false;
  bool iconic_ = false;
  RECT client_{0, 0, 0, 0};
  int x_ = 0, y_ = 0;
};

class ScriptWindowSystem : public ui::WindowSystem {
 public:
  // Installs itself as the window system in force until destroyed.
  ScriptWindowSystem(UserScript& script, Transcript& transcript);
  ~ScriptWindowSystem() override;

  const char* Name() const override { return "script"; }
  ui::Size ScreenSize() const override { return {1024, 768}; }
  int SystemMetric(int index) const override;
  std::unique_ptr<ui::NativeDialog> CreateDialogWindow(const res::DialogTemplate& dialog,
                                                       const res::ResourceModule& module,
                                                       ui::DialogHost& host) override;
  void RunModal(ui::NativeDialog& dialog, const std::function<bool()>& ended) override;
  int ShowMessageBox(ui::NativeDialog* owner, const std::string& text, const std::string& caption,
                     UINT type) override;
  void Flush() override {}

  // Dialog units to pixels for scripted windows: the base units of the
  // original dialog font at 96 dpi.
  static constexpr ui::BaseUnits kBaseUnits{6, 13};

  Transcript& Log() { return transcript_; }
  // Windows open now, oldest first.
  const std::vector<ScriptedDialog*>& OpenDialogs() const { return open_; }

 private:
  friend class ScriptedDialog;
  UserScript& script_;
  Transcript& transcript_;
  ui::WindowSystem* previous_;
  std::vector<ScriptedDialog*> open_;
};

// Text of a transcript line: quotes and escapes line feeds.
std::string Quote(const std::string& text);

}  // namespace corvane::script
