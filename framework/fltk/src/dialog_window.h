// One dialog template as a real window, and the NativeDialog the framework
// holds for it.
#pragma once
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>

#include <memory>

#include "controls.h"
#include "framework/window_system.h"
#include "session.h"

namespace corvane::ui::fltkws {

// The top-level window: reports keys and the close box to the host, and lets
// the host paint (WM_PAINT).
class DialogWindow : public Fl_Double_Window {
 public:
  DialogWindow(int w, int h, const res::DialogTemplate& dialog, DialogHost& host);
  void PlaceAt(int x, int y);
  int FocusedControlId() const;
  // FLTK has one focus for the whole program; each dialog remembers its own
  // and takes it back whenever the window gets the keyboard.
  void SetFocusControl(Fl_Widget* widget);
  void RestoreFocus();
  void DrawDefault() { Fl_Double_Window::draw(); }
  bool Painting() const { return painting_; }
  DialogHost& Host() const { return host_; }

 protected:
  int handle(int event) override;
  void draw() override;

 private:
  static void OnWindowCallback(Fl_Widget* widget, void* data);
  bool HandleKey();

  DialogHost& host_;
  Fl_Widget* focusControl_ = nullptr;
  bool closeBox_;
  bool painting_ = false;
};

class FltkDialog : public NativeDialog {
 public:
  FltkDialog(Session& session, const res::DialogTemplate& dialog,
             const res::ResourceModule& module, DialogHost& host);
  ~FltkDialog() override;

  Size FrameSize() const override;
  void MoveTo(int x, int y) override;
  void Show() override;
  std::string ControlText(int controlId) const override;
  void SetControlText(int controlId, const std::string& text) override;
  void LimitText(int controlId, int maxChars) override;
  void SetFocus(int controlId) override;
  void SetIcon(IconSize which, const res::Image* icon) override;
  bool IsIconic() const override;
  RECT ClientRect() const override;
  void PaintDefault() override;
  void EraseIconBackground() override;
  void DrawIcon(int x, int y, const res::Image& icon) override;

  Fl_Window& Window() { return *window_; }

 private:
  void AddControl(const res::ControlTemplate& control, const res::ResourceModule& module,
                  const DialogFont& font);
  Fl_Widget* Control(int controlId) const;
  void ApplyIcons();

  Session& session_;
  WindowRole role_;
  DialogWindow* window_;  // deleted through FLTK, which may still be dispatching to it
  std::unique_ptr<Fl_RGB_Image> icons_[2];
};

}  // namespace corvane::ui::fltkws
