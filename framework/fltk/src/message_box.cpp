#include "message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <vector>

#include "controls.h"
#include "win32/user.h"

namespace corvane::ui::fltkws {
namespace {

struct ButtonChoice {
  const char* text;
  int result;
};

// The buttons of a box type; the first is the default. `escape` is what
// Escape and the close box give, 0 where they do nothing (a Yes/No box has
// no way out but its buttons).
struct BoxKind {
  std::vector<ButtonChoice> buttons;
  int escape;
};

bool KindOf(UINT type, BoxKind& kind) {
  switch (type & MB_TYPEMASK) {
    case MB_OK: kind = {{{"OK", IDOK}}, IDOK}; return true;
    case MB_OKCANCEL: kind = {{{"OK", IDOK}, {"Cancel", IDCANCEL}}, IDCANCEL}; return true;
    case MB_YESNO: kind = {{{"&Yes", IDYES}, {"&No", IDNO}}, 0}; return true;
    default: return false;
  }
}

class MessageBoxWindow : public Fl_Double_Window {
 public:
  MessageBoxWindow(int w, int h, const std::string& caption, int escapeResult)
      : Fl_Double_Window(w, h), escapeResult_(escapeResult) {
    copy_label(caption.c_str());
    callback(&MessageBoxWindow::OnClose, this);
  }
  int result = 0;

  void Answer(int value) { result = value; }

 protected:
  int handle(int event) override {
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && HandleKey()) return 1;
    return Fl_Double_Window::handle(event);
  }

 private:
  bool HandleKey() {
    const Session* session = Session::Current();
    if (session && session->KeyWindow() != this) return false;
    switch (Fl::event_key()) {
      case FL_Escape:
        if (escapeResult_) Answer(escapeResult_);
        return true;
      case FL_Enter:
      case FL_KP_Enter:
        if (Fl_Widget* focus = Fl::focus(); focus && focus->window() == this) {
          focus->do_callback();
          return true;
        }
        return false;
      default:
        return false;
    }
  }

  static void OnClose(Fl_Widget*, void* data) {
    auto* box = static_cast<MessageBoxWindow*>(data);
    if (box->escapeResult_) box->Answer(box->escapeResult_);
  }

  int escapeResult_;
};

// The button's argument() is its result; FLTK keeps it in the slot of the
// callback data, so the box is found through the window.
void OnChoice(Fl_Widget* widget, void*) {
  if (auto* box = dynamic_cast<MessageBoxWindow*>(widget->window()))
    box->Answer(static_cast<int>(widget->argument()));
}

}  // namespace

int RunMessageBox(Session& session, Fl_Window* owner, const std::string& text,
                  const std::string& caption, UINT type) {
  BoxKind kind;
  if (!KindOf(type, kind)) return 0;
  const DialogFont& font = session.Font(8);
  const BaseUnits& u = font.units;

  int screenX, screenY, screenW, screenH;
  Fl::screen_xywh(screenX, screenY, screenW, screenH, 0);
  const int margin = u.ToPixelsX(8);
  const int buttonW = u.ToPixelsX(50), buttonH = u.ToPixelsY(14), gap = u.ToPixelsX(4);
  const int buttonsW = static_cast<int>(kind.buttons.size()) * (buttonW + gap) - gap;

  // Lines wrap at about 60 average characters, never wider than most of the
  // screen; the box is wide enough for its buttons and its caption.
  const int wrapWidth = std::min(60 * u.x, screenW * 5 / 8);
  fl_font(font.face, font.pixels);
  int textW = wrapWidth, textH = 0;
  fl_measure(text.c_str(), textW, textH, 0);
  textW = std::min(textW, wrapWidth);
  const int captionW = static_cast<int>(fl_width(caption.c_str())) + 2 * margin;
  const int width = std::max({textW + 2 * margin, buttonsW + 2 * margin, captionW});
  const int height = margin + textH + margin + buttonH + margin;

  MessageBoxWindow box(width, height, caption, kind.escape);
  box.begin();
  new StaticText(margin, margin, width - 2 * margin, textH, text, false, font.face, font.pixels);
  int x = (width - buttonsW) / 2;
  PushButton* first = nullptr;
  for (const ButtonChoice& choice : kind.buttons) {
    auto* button = new PushButton(x, margin + textH + margin, buttonW, buttonH, choice.text,
                                  first == nullptr);
    button->labelfont(font.face);
    button->labelsize(font.pixels);
    button->argument(choice.result);
    button->callback(&OnChoice);
    if (!first) first = button;
    x += buttonW + gap;
  }
  box.end();
  box.position(screenX + (screenW - width) / 2, screenY + (screenH - height) / 2);
  box.show();

  WindowRole role;
  role.closeBox = kind.escape != 0;
  role.owner = owner && owner->shown() ? fl_xid(owner) : 0;
  session.roles().Apply(fl_xid(&box), role);
  session.roles().KeepContents(fl_xid(&box));
  session.Shown(&box);
  session.BeginModal(&box);
  box.wait_for_expose();
  Fl::flush();
  session.roles().Focus(fl_xid(&box));
  first->take_focus();

  while (box.result == 0 && box.shown()) Fl::wait();
  const int result = box.result;
  session.Gone(&box);
  box.hide();
  XFlush(session.display());
  return result;
}

}  // namespace corvane::ui::fltkws
