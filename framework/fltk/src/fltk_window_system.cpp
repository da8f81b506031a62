// The window system the programs get when a display can be opened.
#include "framework/fltk_window_system.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "dialog_window.h"
#include "message_box.h"
#include "session.h"
#include "win32/user.h"

namespace corvane::ui {
namespace {

using fltkws::FltkDialog;
using fltkws::Session;

Bool IsDrawingEvent(Display*, XEvent* event, XPointer) {
  switch (event->type) {
    case Expose: case GraphicsExpose: case NoExpose: case ConfigureNotify: case MapNotify:
    case UnmapNotify: case VisibilityNotify: case ReparentNotify:
      return True;
    default:
      return False;
  }
}

class FltkWindowSystem : public WindowSystem {
 public:
  explicit FltkWindowSystem(Display* display) : session_(display) {}

  const char* Name() const override { return "fltk"; }

  Size ScreenSize() const override {
    int x, y, w, h;
    Fl::screen_xywh(x, y, w, h, 0);
    return {w, h};
  }

  int SystemMetric(int index) const override {
    switch (index) {
      case SM_CXSCREEN: return ScreenSize().width;
      case SM_CYSCREEN: return ScreenSize().height;
      case SM_CXICON: case SM_CYICON: return 32;
      default: return 0;
    }
  }

  std::unique_ptr<NativeDialog> CreateDialogWindow(const res::DialogTemplate& dialog,
                                                   const res::ResourceModule& module,
                                                   DialogHost& host) override {
    return std::make_unique<FltkDialog>(session_, dialog, module, host);
  }

  void RunModal(NativeDialog& dialog, const std::function<bool()>& ended) override {
    auto* native = dynamic_cast<FltkDialog*>(&dialog);
    if (!native) return;
    Fl_Window& window = native->Window();
    if (!window.shown()) native->Show();
    session_.BeginModal(&window);
    while (!ended() && window.shown()) Fl::wait();
    session_.EndModal(&window);
  }

  int ShowMessageBox(NativeDialog* owner, const std::string& text, const std::string& caption,
                     UINT type) override {
    auto* native = dynamic_cast<FltkDialog*>(owner);
    return fltkws::RunMessageBox(session_, native ? &native->Window() : nullptr, text, caption,
                                 type);
  }

  void Flush() override {
    // Only what draws: exposures and map changes are handled, input stays
    // queued for the next modal loop, as Windows leaves it in the queue.
    XEvent event;
    while (XCheckIfEvent(session_.display(), &event, &IsDrawingEvent, nullptr)) fl_handle(event);
    Fl::flush();
    XFlush(session_.display());
  }

 private:
  Session session_;
};

void SetUpLook() {
  Fl::scheme(nullptr);               // FLTK's plain bevels are the 3-D look of Windows 95
  Fl::background(192, 192, 192);     // the 3-D face colour
  Fl::background2(255, 255, 255);    // edit fields
  Fl::foreground(0, 0, 0);
  Fl::visible_focus(1);
  if (!Fl_Window::default_xclass()) Fl_Window::default_xclass(program_invocation_short_name);
}

}  // namespace

std::unique_ptr<WindowSystem> TryFltkWindowSystem(std::string& whyNot) {
  if (Session::Current()) {
    whyNot = "the FLTK window system is already in use in this process";
    return nullptr;
  }
  if (!fl_display) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
      whyNot = "no X display (DISPLAY is not set)";
      return nullptr;
    }
    // FLTK ends the process when it cannot open the display; ask Xlib first.
    Display* display = XOpenDisplay(name);
    if (!display) {
      whyNot = std::string("cannot open X display \"") + name + "\"";
      return nullptr;
    }
    fl_open_display(display);
  }
  SetUpLook();
  return std::make_unique<FltkWindowSystem>(fl_display);
}

BaseUnits FltkDialogBaseUnits(int pointSize) {
  Session* session = Session::Current();
  return session ? session->Font(pointSize).units : BaseUnits{6, 13};
}

}  // namespace corvane::ui
